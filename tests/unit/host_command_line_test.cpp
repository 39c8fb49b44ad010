#include "app/host_command_line.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

TEST(ParseHostCommandLine, RefusesLinesWithoutThreeCommas) {
    HostCommandLine line;
    EXPECT_EQ("no-data step=host-command-line-commas", LogLine(ParseHostCommandLine("", line)));
    EXPECT_EQ("no-data step=host-command-line-commas", LogLine(ParseHostCommandLine("1234", line)));
    EXPECT_EQ("no-data step=host-command-line-commas value=1",
              LogLine(ParseHostCommandLine("1234,1025", line)));
    EXPECT_EQ("no-data step=host-command-line-commas value=2",
              LogLine(ParseHostCommandLine("1234,1025,7", line)));
    // Fields before the break are still stored.
    EXPECT_EQ(1234, line.hostWnd);
    EXPECT_EQ(1025, line.hostMsg);
    EXPECT_EQ(2, line.functionId);
    EXPECT_TRUE(line.hostText.empty());
}

TEST(ParseHostCommandLine, EmptyTextAfterThirdComma) {
    HostCommandLine line;
    ASSERT_OK(ParseHostCommandLine("1234,1025,7,", line));
    EXPECT_EQ(1234, line.hostWnd);
    EXPECT_EQ(1025, line.hostMsg);
    EXPECT_EQ(7, line.functionId);
    EXPECT_EQ("", line.hostText);
}

TEST(ParseHostCommandLine, TextKeepsItsCommas) {
    HostCommandLine line;
    ASSERT_OK(ParseHostCommandLine("1,2,3,C:\\a,b.xml", line));
    EXPECT_EQ("C:\\a,b.xml", line.hostText);
}

TEST(ParseHostCommandLine, FunctionIdIsKeptIn16Bits) {
    HostCommandLine line;
    ASSERT_OK(ParseHostCommandLine("1,2,40000,x", line));
    EXPECT_EQ(-25536, line.functionId);
}

TEST(ParseHostCommandLine, LongTextIsNeverCut) {
    // A host-given output path longer than any working buffer stays whole.
    std::string path = "C:\\";
    for (int i = 0; i < 60; ++i)
        path += "表ソ\\folder";
    path += "\\report.xml";
    HostCommandLine line;
    ASSERT_OK(ParseHostCommandLine("65538,1025,2," + path, line));
    EXPECT_EQ(path, line.hostText);
    EXPECT_GT(line.hostText.size(), 260u);
}

TEST(ParseHostCommandLine, NumbersReadAsAtolReadsThem) {
    HostCommandLine line;
    ASSERT_OK(ParseHostCommandLine(" 12x,abc,-5,t", line));
    EXPECT_EQ(12, line.hostWnd);
    EXPECT_EQ(0, line.hostMsg);
    EXPECT_EQ(-5, line.functionId);
    ASSERT_OK(ParseHostCommandLine("99999999999,1,2,t", line));
    EXPECT_EQ(INT32_MAX, line.hostWnd);
}

TEST(ParseHostCommandLine, WindowHandlesRoundTripOnEitherWordSize) {
    // Window handles carry 32 significant bits; a 64-bit writer gives them sign-extended, so the
    // handle read back must equal the one written, negative or not.
    for (const std::intptr_t handle : {std::intptr_t{0x10044}, std::intptr_t{INT32_MAX},
                                       std::intptr_t{-2147479020}, std::intptr_t{INT32_MIN}}) {
        HostCommandLine line;
        ASSERT_OK(ParseHostCommandLine(std::to_string(handle) + ",1025,2,", line));
        EXPECT_EQ(handle, line.hostWnd) << "written as " << handle;
    }
}
