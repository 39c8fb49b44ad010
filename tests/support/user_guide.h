// The user guide docs/使い方.md as the tests read it, and its statements held to what the program
// does: a test finds out how the program behaves and the guide must say so, not the opposite.
#pragma once

#include <string>

namespace testsupport {

// A file of the sources (a path relative to the repository), whole; false when it cannot be read.
bool ReadSourceFile(const std::string& relative, std::string& text);

// The guide's text with LF line ends; empty, with a failed expectation, when it cannot be read.
std::string UserGuide();

// What the guide says when a condition of the program holds, and what it says when it does not.
struct GuideStatement {
    const char* condition;
    const char* whenTrue;
    const char* whenFalse;
};

// The guide says the statement that fits (holds) and not the other one.
void ExpectGuideSays(const GuideStatement& statement, bool holds);

} // namespace testsupport
