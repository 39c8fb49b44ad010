// Assertions on a platform::Status by its log line, so that a failure prints the cause and its
// detail, and an expected failure is checked down to the detail; and the line in which a run
// leaves its result and cause for a support call.
#pragma once

#include "platform/status.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#define ASSERT_OK(expr) ASSERT_EQ("ok", platform::LogLine(expr))
#define EXPECT_OK(expr) EXPECT_EQ("ok", platform::LogLine(expr))

namespace testsupport {

// The line that a run writes to the debugger output as it ends, with its result and cause; a
// failure is added unless the run wrote exactly one such line, and wrote it last.
inline std::string RunEndLine(const std::vector<std::string>& debugLines) {
    const std::string prefix = "overview run: ";
    std::vector<std::string> found;
    for (const std::string& line : debugLines)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line);
    EXPECT_EQ(1u, found.size()) << "end-of-run lines in the debugger output";
    if (found.empty())
        return std::string();
    EXPECT_EQ(found.back(), debugLines.back()) << "the end of the run is not the last line";
    return found.back();
}

// The result code that the end line of a run names (-1 when there is none).
inline int RunResult(const std::vector<std::string>& debugLines) {
    const std::string prefix = "overview run: result ";
    const std::string line = RunEndLine(debugLines);
    if (line.rfind(prefix, 0) != 0)
        return -1;
    return static_cast<int>(std::strtol(line.c_str() + prefix.size(), nullptr, 10));
}

} // namespace testsupport
