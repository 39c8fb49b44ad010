// Doubles and checks shared by the tests of the report writer and its companions.
#pragma once

#include "aggregate/progress.h"
#include "platform/desktop.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "support/recording_desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace reporttest {

// Records every progress call as text: "A500-600" for AdvanceTo, "T" for a tick, "R" for a reset.
class RecordingProgress : public ProgressSink {
  public:
    void ResetMainBar() override { calls.push_back("R"); }
    void AdvanceTo(std::int16_t start, std::int16_t end) override {
        calls.push_back("A" + std::to_string(start) + "-" + std::to_string(end));
    }
    void ActivityTick() override { calls.push_back("T"); }

    std::vector<std::string> calls;
};

using testsupport::RecordingDesktop;

class FixedStrings : public platform::StringResources {
  public:
    std::string Load(unsigned id) override { return id == 1 ? "21.00.01" : std::string(); }
};

// Global memory that has nothing to give.
class ExhaustedMemory : public platform::GlobalMemory {
  public:
    std::unique_ptr<platform::MemoryBlock> AllocateZeroed(std::size_t) override { return nullptr; }
};

// xmllint's verdict on a document: empty when it is well-formed and every byte decodes in the
// encoding it declares, else what xmllint printed.
inline std::string XmllintErrors(const std::string& document) {
    char path[] = "/tmp/report_test_XXXXXX";
    const int fd = ::mkstemp(path);
    if (fd < 0)
        return "cannot create a temporary file";
    ::close(fd);
    std::ofstream(path, std::ios::binary) << document;
    const std::string errors = std::string(path) + ".err";
    const std::string command = "xmllint --noout '" + std::string(path) + "' 2>'" + errors + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(errors, std::ios::binary);
    std::stringstream printed;
    printed << in.rdbuf();
    std::remove(path);
    std::remove(errors.c_str());
    if (status == 0 && printed.str().empty())
        return std::string();
    return "xmllint status " + std::to_string(status) + ": " + printed.str();
}

} // namespace reporttest
