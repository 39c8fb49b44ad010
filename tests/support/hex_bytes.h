// The bytes of a text in hexadecimal ("95 5C"), for failure messages about encodings.
#pragma once

#include <string>

namespace testsupport {

inline std::string HexBytes(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace testsupport
