// Serves a book to the stand-in host for the running test: the book and a host configuration
// naming it are written to the test process's own folder and the stand-in reads them again.
#pragma once

#include "platform/host_library.h"
#include "process_folder.h"
#include "standin/config.h"
#include "standin/testing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// bookJson: the book's text, or empty to name bookPath instead. configKeys: further keys of the
// host configuration, each written as ", \"key\": value".
inline ::testing::AssertionResult ServeBook(const std::string& name, const std::string& bookJson,
                                            const std::string& configKeys = "",
                                            const std::string& bookPath = "") {
    const std::string folder = ProcessFolder();
    std::string book = bookPath;
    if (!bookJson.empty()) {
        book = folder + name + "_book.json";
        std::ofstream(book, std::ios::binary) << bookJson;
    }
    const std::string config = folder + name + "_host.json";
    std::ofstream(config, std::ios::binary)
        << "{ \"book\": \"" << book << "\"" << configKeys << " }";
    if (standin::ReloadConfig(config))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "book " << book << ": " << standin::LoadProblem();
}

// The stand-in host as the programs reach it, through the host library's table of methods.
inline platform::Host& LibraryHost() {
    static const std::unique_ptr<platform::Host> host = platform::OpenHostLibrary();
    return *host;
}

// The lines of the stand-in's call log ("callLog" of its faults): "Class::Method n" per call.
inline std::vector<std::string> CallLog(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Puts the stand-in back on its usual configuration when the test ends.
struct ServedBookScope {
    ~ServedBookScope() { standin::ReloadConfig(""); }
};

} // namespace testsupport
