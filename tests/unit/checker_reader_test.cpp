// Reading reports back: both committed reports in full, and each kind of input that the report
// writer never emits, with the line, column and wording of its error.
#include "checker/report.h"
#include "checker/text_decode.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <string>

using checker_test::CommittedReport;
using checker_test::Edited;
using checker_test::Read;

namespace {

std::string Utf8OfReport(const std::string& sjis) {
    std::string utf8;
    EXPECT_TRUE(checker::ShiftJisToUtf8(sjis, utf8).ok);
    return utf8;
}

// The error of bytes, as "line:column message".
std::string ErrorOf(const std::string& bytes) {
    const auto outcome = Read(bytes);
    if (outcome.ok)
        return "read without error";
    return std::to_string(outcome.error.line) + ":" + std::to_string(outcome.error.column) + " " +
           outcome.error.message;
}

void ExpectError(const std::string& bytes, const std::string& position, const std::string& words) {
    const std::string error = ErrorOf(bytes);
    EXPECT_EQ(0u, error.rfind(position + " ", 0)) << error;
    EXPECT_NE(std::string::npos, error.find(words)) << error;
}

// The line number (1-based) of the first line holding text.
int LineOf(const std::string& bytes, const std::string& text) {
    const std::size_t at = bytes.find(text);
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + at, '\n'));
}

std::string Position(int line, int column) {
    return std::to_string(line) + ":" + std::to_string(column);
}

} // namespace

TEST(CheckerReader, ReadsTheNewerFormReportInFull) {
    const auto outcome = Read(CommittedReport(FormGeneration::k30));
    ASSERT_TRUE(outcome.ok) << outcome.error.message;
    const checker::Report& r = outcome.report;
    EXPECT_EQ(FormGeneration::k30, r.form);
    EXPECT_EQ(2, r.functionId);
    EXPECT_EQ("21.00.01", r.connectedVersion);
    EXPECT_EQ(u8"Orvano２１ Tessel", r.programName);
    EXPECT_EQ("21.00.03", r.programVersion);
    EXPECT_EQ(u8"株式会社みなと商事", r.company);
    EXPECT_EQ(20240401, r.periodFrom);
    EXPECT_EQ(20250331, r.periodTo);
    ASSERT_EQ(36u, r.mainItems.size());
    EXPECT_EQ("URIAGEDAKA", r.mainItems[0].line->tag);
    EXPECT_EQ(u8"売上（収入）高", r.mainItems[0].line->name);
    EXPECT_EQ(338797350, r.mainItems[0].amount);
    EXPECT_FALSE(r.mainItems[4].amount.has_value()); // GENZAIRYOUSIIREDAKA, empty
    EXPECT_EQ("SIHON", r.mainItems[35].line->tag);
    EXPECT_EQ((std::array<int, 12>{4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3}), r.months);
    ASSERT_EQ(5u, r.monthlyRows.size());
    EXPECT_EQ("TUKIBETUURIAGEKINGAKU", r.monthlyRows[0].line->tag);
    EXPECT_EQ(25959407, r.monthlyRows[0].amounts[0]);
    EXPECT_EQ(32452070, r.monthlyRows[0].amounts[11]);
    EXPECT_FALSE(r.monthlyRows[4].amounts[6].has_value());
}

TEST(CheckerReader, ReadsTheOlderFormReportWithItsOwnLines) {
    const auto outcome = Read(CommittedReport(FormGeneration::k16));
    ASSERT_TRUE(outcome.ok) << outcome.error.message;
    EXPECT_EQ(FormGeneration::k16, outcome.report.form);
    ASSERT_EQ(35u, outcome.report.mainItems.size());
    EXPECT_EQ("TOKUBETUSONEKI", outcome.report.mainItems[17].line->tag);
    EXPECT_EQ(5u, outcome.report.monthlyRows.size());
}

TEST(CheckerReader, TextsWithCharacterReferencesAndSecondBytesLikeAscii) {
    // 表 (95 5C) and ソ (83 5C) end in '\'; & < > " ' come as references.
    const std::string name = "\x95\x5C\x83\x5C &amp; &lt;&gt;&quot;&apos;";
    const auto outcome = Read(
        Edited(CommittedReport(FormGeneration::k30), "<KOMONSAKINAME>", "<KOMONSAKINAME>" + name));
    ASSERT_TRUE(outcome.ok) << outcome.error.message;
    EXPECT_EQ(u8"表ソ & <>\"'株式会社みなと商事", outcome.report.company);
}

TEST(CheckerReader, NegativeAndLargestAmounts) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    auto outcome = Read(Edited(bytes, "<SIHON>82143903</SIHON>", "<SIHON>-99999999999</SIHON>"));
    ASSERT_TRUE(outcome.ok) << outcome.error.message;
    EXPECT_EQ(-99999999999, outcome.report.mainItems[35].amount);
    outcome = Read(Edited(bytes, "<SIHON>82143903</SIHON>", "<SIHON>999999999999</SIHON>"));
    ASSERT_TRUE(outcome.ok) << outcome.error.message;
    EXPECT_EQ(999999999999, outcome.report.mainItems[35].amount);
}

TEST(CheckerReader, EncodingErrors) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    const int companyLine = LineOf(bytes, "<KOMONSAKINAME>");
    // Saved as UTF-8: the first character that is not ASCII is the full-width 2 of the name.
    ExpectError(Utf8OfReport(bytes), Position(LineOf(bytes, "<PROGRAMNAME>"), 22), "UTF-8");
    ExpectError("\xEF\xBB\xBF" + bytes, "1:1", u8"バイト順マーク");
    // A byte that starts no character, and a pair that the code page leaves unassigned.
    ExpectError(Edited(bytes, "<KOMONSAKINAME>", "<KOMONSAKINAME>\x80"), Position(companyLine, 18),
                "0x80");
    ExpectError(Edited(bytes, "<KOMONSAKINAME>", "<KOMONSAKINAME>\x88\x9F\x85\x40"),
                Position(companyLine, 19), "0x85");
    ExpectError(Edited(bytes, "<KOMONSAKINAME>", "<KOMONSAKINAME>\x88"), Position(companyLine, 18),
                "Shift_JIS");
}

TEST(CheckerReader, LineEndsAndDeclaration) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    std::string lf = bytes;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    ExpectError(lf, "1:43", "LF");
    ExpectError(Edited(bytes, "encoding=\"Shift_JIS\"", "encoding=\"UTF-8\""), "1:31", u8"宣言");
    ExpectError(Edited(bytes, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n", ""), "1:2",
                u8"宣言");
    ExpectError("", "1:1", u8"空です");
    ExpectError(Edited(bytes, "<VERSION>", "<VERSION>\x01"), Position(5, 12), u8"制御文字");
}

TEST(CheckerReader, TruncatedFiles) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    for (std::size_t length : {std::size_t{20}, bytes.size() / 3, bytes.size() / 2,
                               bytes.size() - 12, bytes.size() - 2}) {
        const std::string error = ErrorOf(bytes.substr(0, length));
        EXPECT_NE(std::string::npos, error.find(u8"切れて")) << length << ": " << error;
    }
    ExpectError(bytes.substr(0, bytes.size() - 1), Position(LineOf(bytes, "</REPORT>"), 10), "CR");
}

TEST(CheckerReader, TagsTheGenerationDoesNotHave) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    const int line = LineOf(bytes, "<KENGYOUURIAGEDAKA>");
    ExpectError(Edited(bytes, "<KENGYOUURIAGEDAKA>1653940</KENGYOUURIAGEDAKA>",
                       "<KENGYOUURIAGE>1653940</KENGYOUURIAGE>"),
                Position(line, 5), u8"にない要素「KENGYOUURIAGE」");
    // A line of the older form in a report of the newer one.
    ExpectError(Edited(bytes, "<TOKUBETURIEKI>100000</TOKUBETURIEKI>",
                       "<TOKUBETUSONEKI>100000</TOKUBETUSONEKI>"),
                Position(LineOf(bytes, "<TOKUBETURIEKI>"), 5), u8"様式 \"16\" の要素");
    // A placeholder line, which the writer never writes.
    ExpectError(Edited(bytes, "<TUKIBETU_01>4</TUKIBETU_01>",
                       "<TUKIBETU_01>4</TUKIBETU_01><YOBI-101></YOBI-101>"),
                Position(LineOf(bytes, "<TUKIBETU_01>"), 33), "YOBI-1");
    ExpectError(Edited(bytes, "<SYSTEM>", "<SYSTEM><EXTRA>1</EXTRA>"), Position(3, 10),
                "GYOUMUPREFIX, VERSION");
}

TEST(CheckerReader, AmountsThatAreNoWholeNumbers) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    const std::string position = Position(LineOf(bytes, "<SIHON>"), 12);
    for (const char* bad : {"12.5", "1,234", "+5", " 5", "5 ", "0012", "-0", "abc", "1e6",
                            "1000000000000", "-100000000000"}) {
        ExpectError(
            Edited(bytes, "<SIHON>82143903</SIHON>", std::string("<SIHON>") + bad + "</SIHON>"),
            position, u8"整数");
    }
    ExpectError(Edited(bytes, "<SIHON>82143903</SIHON>", "<SIHON>0</SIHON>"), position,
                u8"空欄で書かれる");
    ExpectError(Edited(bytes, "<FUNCTIONID>2</FUNCTIONID>", "<FUNCTIONID>40000</FUNCTIONID>"),
                Position(6, 15), u8"-32768 から 32767 までの整数");
}

TEST(CheckerReader, DuplicatedAndMissingLines) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    const int sihon = LineOf(bytes, "<SIHON>");
    ExpectError(
        Edited(bytes, "<SIHON>82143903</SIHON>", "<SIHON>82143903</SIHON><SIHON>82143903</SIHON>"),
        Position(sihon, 28), u8"二度書かれています（最初は " + std::to_string(sihon) + u8" 行目）");
    ExpectError(Edited(bytes, "<SIHON>82143903</SIHON>", ""),
                Position(LineOf(bytes, "<SYUYOUKAMOKU>"), 4),
                u8"「SYUYOUKAMOKU」に「SIHON」（資本の部合計）がありません");
    ExpectError(Edited(bytes, "<TUKIBETUZINKENHI07>5217444</TUKIBETUZINKENHI07>", ""),
                Position(LineOf(bytes, "<TUKIBETUURIAGEDAKA>"), 4), "TUKIBETUZINKENHI07");
    ExpectError(Edited(bytes, "<TUKIBETU_12>3</TUKIBETU_12>", ""),
                Position(LineOf(bytes, "<TUKIBETUURIAGEDAKA>"), 4), "TUKIBETU_12");
}

TEST(CheckerReader, MissingAndMisplacedGroups) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    const std::size_t basic = bytes.find("\t<BASIC>");
    const std::size_t basicEnd = bytes.find("</BASIC>\r\n") + 10;
    const std::string withoutBasic = bytes.substr(0, basic) + bytes.substr(basicEnd);
    ExpectError(withoutBasic, Position(LineOf(withoutBasic, "<DATA>"), 2),
                u8"「BASIC」（グループ）がありません。「DATA」の前に");
    const std::size_t data = bytes.find("\t<DATA>");
    const std::size_t dataEnd = bytes.find("</DATA>\r\n") + 9;
    ExpectError(bytes.substr(0, data) + bytes.substr(dataEnd), "2:1",
                u8"「REPORT」に「DATA」（グループ）がありません");
    const std::size_t main = bytes.find("\t\t\t<SYUYOUKAMOKU>");
    const std::size_t mainEnd = bytes.find("</SYUYOUKAMOKU>\r\n") + 17;
    const std::string withoutMain = bytes.substr(0, main) + bytes.substr(mainEnd);
    ExpectError(withoutMain, Position(LineOf(withoutMain, "<TUKIBETUURIAGEDAKA>"), 4),
                u8"「SYUYOUKAMOKU」（グループ）がありません。");
    ExpectError(Edited(bytes, "</REPORT>\r\n", "</REPORT>\r\n<REPORT></REPORT>\r\n"),
                Position(LineOf(bytes, "</REPORT>") + 1, 1), u8"ルート要素 REPORT の後に");
    ExpectError(bytes + "x\r\n", Position(LineOf(bytes, "</REPORT>") + 1, 1),
                u8"の後にも書かれています");
}

TEST(CheckerReader, MarkupTheWriterNeverWrites) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    ExpectError(Edited(bytes, "<SYSTEM>", "<SYSTEM><!-- x -->"), "3:10", u8"コメント");
    ExpectError(Edited(bytes, "<SYSTEM>", "<SYSTEM kind=\"a\">"), "3:2", u8"属性");
    ExpectError(Edited(bytes, "<VERSION>1</VERSION>", "<VERSION><![CDATA[1]]></VERSION>"), "5:12",
                "CDATA");
    ExpectError(Edited(bytes, "<REPORT>", "<!DOCTYPE REPORT><REPORT>"), "2:1", "DOCTYPE");
    ExpectError(Edited(bytes, "<REPORT>", "<?style x?><REPORT>"), "2:1", u8"処理命令");
    ExpectError(Edited(bytes, "<KOMONSAKINAME>", "<KOMONSAKINAME>&nbsp;"), Position(12, 18),
                u8"文字参照");
    ExpectError(Edited(bytes, "<KOMONSAKINAME>", "<KOMONSAKINAME>a>b"), Position(12, 19),
                u8"文字参照で");
    ExpectError(Edited(bytes, "<SYSTEM>", "<SYSTEM>text"), "3:10", u8"要素だけ");
    ExpectError(Edited(bytes, "<VERSION>1</VERSION>", "<VERSION><A>1</A></VERSION>"), "5:12",
                u8"値だけ");
    ExpectError(Edited(bytes, "</VERSION>", "</VERSIOM>"), "5:22", u8"終了タグ");
    ExpectError(Edited(bytes, "<VERSION>1</VERSION>", "<VERSION>2</VERSION>"), "5:12",
                u8"「1」のはず");
}

TEST(CheckerReader, MonthsOutOfTheWritersOrder) {
    const std::string bytes = CommittedReport(FormGeneration::k30);
    ExpectError(Edited(bytes, "<TUKIBETU_02>5</TUKIBETU_02>", "<TUKIBETU_02>6</TUKIBETU_02>"),
                Position(LineOf(bytes, "<TUKIBETU_02>"), 18), u8"5 のはずです");
    ExpectError(Edited(bytes, "<TUKIBETU_01>4</TUKIBETU_01>", "<TUKIBETU_01>13</TUKIBETU_01>"),
                Position(LineOf(bytes, "<TUKIBETU_01>"), 18), u8"1 から 12");
}

TEST(CheckerReader, DeepNestingIsRefusedBeforeParsing) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<A>";
    const std::string bytes = Edited(CommittedReport(FormGeneration::k30), "<VERSION>1</VERSION>",
                                     "<VERSION>" + deep + "</VERSION>");
    // REPORT, SYSTEM, VERSION and 13 A make 16 levels; the 14th A is one too many.
    ExpectError(bytes, Position(5, 12 + 13 * 3), u8"入れ子が深すぎます");
}

TEST(CheckerReader, ANewerFormReportNeedsItsFormItemFile) {
    checker::Report report;
    checker::ReadError error;
    const checker::FormItemsSource none = [](FormGeneration, const std::string&) {
        return static_cast<const checker::FormItems*>(nullptr);
    };
    const platform::Status status =
        checker::ReadReport(CommittedReport(FormGeneration::k30), none, report, error);
    EXPECT_EQ(platform::Cause::kNoData, status.cause());
    EXPECT_EQ(14, error.line);
    EXPECT_NE(std::string::npos, error.message.find(u8"様式 \"30\" の項目ファイル"))
        << error.message;
}
