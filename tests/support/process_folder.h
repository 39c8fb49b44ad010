// A temporary folder of this test process. ctest runs test processes in parallel, so files that
// a test writes for the stand-in host to read go here, never straight into the shared folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace testsupport {

// The folder, with a trailing '/'; created on first use.
inline std::string ProcessFolder() {
    static const std::string folder = [] {
        const std::string path =
            ::testing::TempDir() + "ovw-tests-" + std::to_string(getpid()) + "/";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

} // namespace testsupport
