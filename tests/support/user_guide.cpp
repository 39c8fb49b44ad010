#include "support/user_guide.h"

#include "support/file_bytes.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {

// The sources are UTF-8; u8 literals stay UTF-8 whatever the execution character set.
const char kGuide[] = u8"docs/使い方.md";

} // namespace

bool ReadSourceFile(const std::string& relative, std::string& text) {
    return ReadFileBytes(std::string(OVW_SOURCE_DIR) + "/" + relative, text);
}

std::string UserGuide() {
    std::string guide;
    EXPECT_TRUE(ReadSourceFile(kGuide, guide)) << kGuide;
    std::string lf;
    for (char c : guide)
        if (c != '\r')
            lf += c;
    return lf;
}

void ExpectGuideSays(const GuideStatement& statement, bool holds) {
    const std::string guide = UserGuide();
    const char* said = holds ? statement.whenTrue : statement.whenFalse;
    const char* wrong = holds ? statement.whenFalse : statement.whenTrue;
    const std::string condition =
        std::string(statement.condition) + (holds ? "" : " does not hold") + ": ";
    EXPECT_NE(std::string::npos, guide.find(said)) << condition << kGuide << " must say\n" << said;
    EXPECT_EQ(std::string::npos, guide.find(wrong)) << condition << kGuide << " must not say\n"
                                                    << wrong;
}

} // namespace testsupport
