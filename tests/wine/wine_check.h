// The reporting of the Windows check programs: one line per check ("ok" or "FAIL", what was
// checked, and what was found), and a count of the failures for the exit status.
#pragma once

#include "tests/support/hex_bytes.h"

#include <cstdio>
#include <string>

namespace winecheck {

inline int& Failures() {
    static int failures = 0;
    return failures;
}

inline void Check(bool ok, const std::string& what, const std::string& actual = std::string()) {
    std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), actual.empty() ? "" : ": ",
                actual.c_str());
    if (!ok)
        ++Failures();
}

using testsupport::HexBytes;

} // namespace winecheck
