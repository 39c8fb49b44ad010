// The whole of a file of the machine the tests run on, as bytes.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

// False, with bytes empty, when the file cannot be opened.
inline bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        bytes.clear();
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace testsupport
