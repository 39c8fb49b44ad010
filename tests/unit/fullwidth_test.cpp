// The portable full-width mapping of code page 932 and the company name built from it.
#include "platform/text.h"
#include "report/report_writer.h"

#include "support/hex_bytes.h"
#include "support/portable/text_mapping.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Wide(const std::string& text) {
    platform::PortableTextMapping mapping;
    return mapping.ToFullWidth(text);
}

} // namespace

TEST(FullWidth, AsciiBecomesTheFullWidthFormsOfCodePage932) {
    EXPECT_EQ("ＡＢＣｘｙｚ０１９", Wide("ABCxyz019"));
    EXPECT_EQ("81 40 81 49 81 60 81 7C 81 5F 81 90 81 93 81 95 81 97",
              testsupport::HexBytes(Wide(" !~-\\$%&@")));
    EXPECT_EQ("FA 57 FA 56", testsupport::HexBytes(Wide("\"'")));
    EXPECT_EQ("（）［］｛｝＜＞｜＾＿｀", Wide("()[]{}<>|^_`"));
}

TEST(FullWidth, HalfWidthKatakanaCombineWithTheirMarksAsWindowsDoes) {
    EXPECT_EQ("ガパヴー。「」、・", Wide("ｶﾞﾊﾟｳﾞｰ｡｢｣､･"));
    EXPECT_EQ("ドボポ", Wide("ﾄﾞﾎﾞﾎﾟ"));
    // A mark that has nothing to combine with stays a mark of its own.
    EXPECT_EQ("ア゛カ゜゛゜", Wide("ｱﾞｶﾟﾞﾟ"));
    // ヷ and ヺ have no code in 932.
    EXPECT_EQ("?ワ?ヲ", Wide("ﾜﾞﾜｦﾞｦ"));
}

TEST(FullWidth, DoubleByteAndOtherBytesPassUnchanged) {
    EXPECT_EQ("表ソポ", Wide("表ソポ"));
    EXPECT_EQ("\x7F\x80\xA0\xFD\t", Wide("\x7F\x80\xA0\xFD\t"));
    // A lead byte at the very end is kept as it is.
    EXPECT_EQ("Ａ\x95", Wide("A\x95"));
    EXPECT_EQ("", Wide(""));
}

TEST(FullWidthName, IsCutToAtMost32BytesWithoutSplittingACharacter) {
    platform::PortableTextMapping mapping;
    EXPECT_EQ("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ", ToFullWidthName(mapping, "ABCDEFGHIJKLMNOPQRST"));
    // One single byte in front: the 17th full-width letter would end at byte 33, so 31 remain.
    const std::string odd = ToFullWidthName(mapping, "\x7F"
                                                     "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(31u, odd.size()) << testsupport::HexBytes(odd);
    EXPECT_EQ("\x7F"
              "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ",
              odd);
    EXPECT_EQ("株式会社", ToFullWidthName(mapping, "株式会社"));
}
