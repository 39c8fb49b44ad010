// Japanese literals reach the program as code page 932 bytes.
#include "support/hex_bytes.h"
#include "texts/catalogue.h"
#include "texts/code_tables.h"

#include <gtest/gtest.h>

#include <string>

TEST(Literals, AreShiftJis) {
    EXPECT_EQ("8E 96 8B C6 8A 54 8B B5 8F 91", testsupport::HexBytes("事業概況書"));
    EXPECT_EQ("83 5C", testsupport::HexBytes("ソ"));
    EXPECT_EQ("95 5C", testsupport::HexBytes("表"));
    EXPECT_EQ("81 60", testsupport::HexBytes("～"));
    // Escapes are processed before conversion: a 0x5C second byte never escapes anything.
    EXPECT_EQ("95 5C 5C 0A", testsupport::HexBytes("表\\\n"));
}

// The catalogue's texts reach the program as the same code page 932 bytes as a literal would:
// line breaks, a double-byte character whose second byte is 0x5C, half-width katakana.
TEST(Literals, CatalogueTextsAreShiftJis) {
    EXPECT_STREQ("事業概況書", texts::kAppTitle);
    EXPECT_STREQ("事業概況書 - 集計条件", texts::kSheetCaption);
    EXPECT_STREQ("表示されている科目を全てチェック", texts::kMenuCheckDisplayedText);
    EXPECT_EQ("95 5C", testsupport::HexBytes(std::string(texts::kMenuCheckDisplayedText, 2)));
    EXPECT_STREQ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。",
                 texts::kPeriodWrongMessage);
    EXPECT_STREQ("ﾒﾓﾘが不足しています。", texts::kOutOfMemoryMessage);
    EXPECT_STREQ(" %04d/%02d/%02d～%04d/%02d/%02d", texts::kPeriodHeaderFormat);
    EXPECT_STREQ("Orvano２１ Tessel", texts::kIvyProductName);
    EXPECT_STREQ("[終了]", texts::kSectionEndMarker);
}

TEST(Literals, CodeTablesHoldOneCharacterPerCode) {
    EXPECT_EQ("81 40", testsupport::HexBytes(std::string(texts::kFullWidthAscii, 2)));
    EXPECT_EQ("81 5F",
              testsupport::HexBytes(std::string(texts::kFullWidthAscii + 2 * ('\\' - ' '), 2)));
    EXPECT_STREQ("ヴ", texts::kVoicedU);
}
