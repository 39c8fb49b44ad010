#include "support/portable/profile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::ReadProfileStringFromText;

std::string Read(const std::string& text, const std::string& section = "ProgramLevel",
                 const std::string& key = "RV16_G", std::size_t size = 16) {
    return ReadProfileStringFromText(text, section, key, "1", size);
}

} // namespace

TEST(ProfileReader, FindsKeyWithoutRegardToCaseOrBlanks) {
    EXPECT_EQ("3", Read("[ProgramLevel]\r\nRV16_G=3\r\n"));
    EXPECT_EQ("3", Read("[programlevel]\nrv16_g=3"));
    EXPECT_EQ("3 ; comment", Read("  [ ProgramLevel ]  \r\n\t RV16_G \t=  3 ; comment \t\r\n"));
    EXPECT_EQ("", Read("[ProgramLevel]\r\nRV16_G=\r\n"));
    EXPECT_EQ("a=b", Read("[ProgramLevel]\r\nRV16_G=a=b\r\n"));
}

TEST(ProfileReader, LineEndsByteOrderMarkAndNul) {
    EXPECT_EQ("8", Read("[ProgramLevel]\rRV16_G=8\r"));
    EXPECT_EQ("8", Read("[ProgramLevel]\n\rRV16_G=8\n\r"));
    EXPECT_EQ("9", Read("\xEF\xBB\xBF[ProgramLevel]\nRV16_G=9\n"));
    using namespace std::string_literals;
    EXPECT_EQ("3", Read("[ProgramLevel]\nRV16_G=3\0junk\n"s));
    EXPECT_EQ("3", Read("[ProgramLevel]\nRV16_G=\"3\"\0x\n"s));
}

TEST(ProfileReader, DefaultWhenSectionKeyOrValueIsAbsent) {
    EXPECT_EQ("1", Read(""));
    EXPECT_EQ("1", Read("RV16_G=3\r\n"));
    EXPECT_EQ("1", Read("[Other]\r\nRV16_G=3\r\n"));
    EXPECT_EQ("1", Read("[ProgramLevel]\r\nRV30_G=3\r\n"));
    EXPECT_EQ("1", Read("[ProgramLevel]\r\nRV16_G\r\n"));
    EXPECT_EQ("1", Read("[ProgramLevel]\r\n;RV16_G=3\r\n"));
    EXPECT_EQ("1", Read("[ProgramLevel]\r\n[Next]\r\nRV16_G=3\r\n"));
    EXPECT_EQ("12", ReadProfileStringFromText("", "S", "K", "12  \t", 16));
}

TEST(ProfileReader, FirstSectionAndFirstKeyAnswer) {
    EXPECT_EQ("2", Read("[ProgramLevel]\r\nRV16_G=2\r\nRV16_G=3\r\n"));
    EXPECT_EQ("1", Read("[ProgramLevel]\r\nX=1\r\n[ProgramLevel]\r\nRV16_G=3\r\n"));
}

TEST(ProfileReader, PairedQuotesAreDropped) {
    EXPECT_EQ("3", Read("[ProgramLevel]\r\nRV16_G=\"3\"\r\n"));
    EXPECT_EQ("3", Read("[ProgramLevel]\r\nRV16_G='3'\r\n"));
    EXPECT_EQ("\"3'", Read("[ProgramLevel]\r\nRV16_G=\"3'\r\n"));
    EXPECT_EQ("\"", Read("[ProgramLevel]\r\nRV16_G=\"\r\n"));
}

TEST(ProfileReader, ValueIsCutToTheBufferWithoutSplittingACharacter) {
    const std::string text = "[ProgramLevel]\r\nRV16_G=0123456789ABCDEFGH\r\n";
    EXPECT_EQ("0123456789ABCDE", Read(text));
    EXPECT_EQ("0", Read(text, "ProgramLevel", "RV16_G", 2));
    EXPECT_EQ("", Read(text, "ProgramLevel", "RV16_G", 1));
    EXPECT_EQ("", Read(text, "ProgramLevel", "RV16_G", 0));
    // 14 bytes then 表 (95 5C): the last character does not fit in 15 bytes.
    EXPECT_EQ("01234567890123", Read("[ProgramLevel]\nRV16_G=01234567890123表\n"));
    EXPECT_EQ("0123456789012表", Read("[ProgramLevel]\nRV16_G=0123456789012表\n"));
    EXPECT_EQ("", ReadProfileStringFromText("", "S", "K", "表", 2));
}

TEST(ProfileReader, DoubleByteNamesCompareExactly) {
    // ゾ is 83 5D: its trail byte is ']' and must not close the section name.
    EXPECT_EQ("x", ReadProfileStringFromText("[ゾ]\r\nキー=x\r\n", "ゾ", "キー", "d", 16));
    // ア (83 41) and ヂ (83 61) differ only in a trail byte that lies in the ASCII letter
    // range: folding it would make them equal.
    EXPECT_EQ("d", ReadProfileStringFromText("[S]\r\nア=x\r\n", "S", "ヂ", "d", 16));
    EXPECT_EQ("x", ReadProfileStringFromText("[S]\r\nア=x\r\n", "S", "ア", "d", 16));
}
