// What the checker shows: decoding, amounts, terminal widths, the text and the page.
#include "checker/format.h"
#include "checker/text_decode.h"
#include "checker/views.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <string>

using checker_test::Checked;
using checker_test::CommittedReport;
using checker_test::Edited;

namespace {

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(CheckerDecode, ShiftJisCharactersOfCodePage932) {
    std::string utf8;
    // 表 95 5C, ソ 83 5C, ＼ 81 5F (code page 932's own mapping), ｱ A1+, '\' 5C, '~' 7E.
    ASSERT_TRUE(checker::ShiftJisToUtf8("\x95\x5C\x83\x5C\x81\x5F\xB1\x5C\x7E", utf8).ok);
    EXPECT_EQ(u8"表ソ＼ｱ\\~", utf8);
    // NEC and IBM extensions of code page 932.
    utf8.clear();
    ASSERT_TRUE(checker::ShiftJisToUtf8("\x87\x40\xFA\x40", utf8).ok);
    EXPECT_EQ(u8"①ⅰ", utf8);
    for (const std::string bad :
         {"ab\x85\x40", "ab\x80", "ab\xA0", "ab\xFD", "ab\x81\x20", "ab\x81"}) {
        std::string out;
        const auto result = checker::ShiftJisToUtf8(bad, out);
        EXPECT_FALSE(result.ok) << bad;
        EXPECT_EQ(2u, result.badOffset) << bad;
    }
    EXPECT_EQ(u8"a\uFFFD表", checker::ShiftJisToUtf8Lenient("a\x80\x95\x5C"));
}

TEST(CheckerFormat, AmountsDatesAndWidths) {
    EXPECT_EQ("0", checker::WithSeparators(0));
    EXPECT_EQ("999", checker::WithSeparators(999));
    EXPECT_EQ("1,000", checker::WithSeparators(1000));
    EXPECT_EQ("-1,234,567", checker::WithSeparators(-1234567));
    EXPECT_EQ("999,999,999,999", checker::WithSeparators(999999999999));
    EXPECT_EQ("-9,223,372,036,854,775,808",
              checker::WithSeparators(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ("", checker::AmountText(std::nullopt));
    // Percentages to one decimal, half away from zero (0.25 is exact in binary), with or
    // without the sign and the unit.
    EXPECT_EQ("+12.3%", checker::PercentText(12.345));
    EXPECT_EQ("-0.0%", checker::PercentText(-0.04));
    EXPECT_EQ("0.3%", checker::PercentText(0.25, false));
    EXPECT_EQ("-0.3", checker::PercentText(-0.25, true, false));
    EXPECT_EQ("+15.1", checker::PercentText(15.05001, true, false));
    EXPECT_EQ(u8"2024年4月1日", checker::DateText(20240401));
    EXPECT_EQ("20240431", checker::DateText(20240431));
    EXPECT_TRUE(checker::IsDate(20240229));
    EXPECT_FALSE(checker::IsDate(20230229));
    EXPECT_EQ(14u, checker::DisplayWidth(u8"売上（収入）高"));
    EXPECT_EQ(5u, checker::DisplayWidth(u8"ｱｲｳ10"));
}

TEST(CheckerViews, TextShowsHeaderTablesAndFindings) {
    const std::string text =
        checker::TextView(Checked(CommittedReport(FormGeneration::k30)), nullptr, false);
    EXPECT_NE(std::string::npos, text.find(u8"株式会社みなと商事"));
    EXPECT_NE(std::string::npos, text.find(u8"2024年4月1日～2025年3月31日"));
    EXPECT_NE(std::string::npos, text.find(u8"Orvano２１ Tessel 21.00.03"));
    // Amounts right-aligned in one column: the longest and a short one end at the same place.
    const std::size_t sales = text.find("338,797,350\n");
    const std::size_t sales_line = text.rfind('\n', sales) + 1;
    const std::size_t machines = text.find("960,000\n");
    const std::size_t machines_line = text.rfind('\n', machines) + 1;
    EXPECT_EQ(checker::DisplayWidth(text.substr(sales_line, sales + 11 - sales_line)),
              checker::DisplayWidth(text.substr(machines_line, machines + 7 - machines_line)));
    // An empty amount is shown as nothing; lines are named as the sheet names them, the equity
    // total by the newer term for the newer form; element names only with --verbose.
    EXPECT_NE(std::string::npos, text.find(u8"  5  原材料仕入高\n"));
    const std::string equity = u8" 36  純資産の部合計 ";
    EXPECT_EQ(text.find("82,143,903\n"),
              text.find_first_not_of(' ', text.find(equity) + equity.size()));
    EXPECT_EQ(std::string::npos, text.find("GENZAIRYOUSIIREDAKA"));
    const std::string verbose =
        checker::TextView(Checked(CommittedReport(FormGeneration::k30)), nullptr, true);
    EXPECT_NE(std::string::npos, verbose.find("GENZAIRYOUSIIREDAKA\n"));
    EXPECT_NE(std::string::npos,
              verbose.find(u8"    要素名: GENZAIRYOUSIIREDAKA, ROUMUHI, SEIZOUKEIHI\n"));
    EXPECT_NE(std::string::npos,
              checker::TextView(Checked(CommittedReport(FormGeneration::k16)), nullptr, false)
                  .find(u8" 35  資本の部合計"));
    // Months in the report's order, April first, and the year's total.
    EXPECT_LT(text.find(u8"\n  4月 "), text.find(u8"\n  3月 "));
    EXPECT_LT(text.find(u8"\n  12月"), text.find(u8"\n  1月 "));
    EXPECT_NE(std::string::npos, text.find(u8"  計  "));
    EXPECT_NE(std::string::npos, text.find(u8"指摘はありません。参考 2 件。"));
}

TEST(CheckerViews, AFindingShowsItsLinesAmountsAndDifference) {
    const std::string text =
        checker::TextView(Checked(Edited(CommittedReport(FormGeneration::k30),
                                         "<SIHON>82143903</SIHON>", "<SIHON>80143903</SIHON>")),
                          nullptr, false);
    EXPECT_NE(std::string::npos, text.find(u8"指摘が 1 件あります。"));
    EXPECT_NE(std::string::npos,
              text.find(u8"[指摘] 2ページ目「資産の部合計」: 貸借が合いません。資産の部合計は、"
                        u8"負債の部合計と純資産の部合計の和のはずです。\n"
                        u8"    確認: この三つの行は会計データの貸借対照表の合計から"));
    EXPECT_NE(std::string::npos, text.find(u8"       2ページ目「資産の部合計」    162,723,469\n"
                                           u8"    =  2ページ目「負債の部合計」     80,579,565\n"
                                           u8"    +  2ページ目「純資産の部合計」   80,143,903\n"));
    EXPECT_NE(std::string::npos,
              text.find(u8"差額 2,000,001 円（端数の切り捨てを見込んで 2 円まで許容）"));
}

TEST(CheckerViews, PageIsSelfContainedWithTablesAndChart) {
    const checker::PageStamp stamp{u8"2025年5月20日 9:05", "21.00.01"};
    const std::string html =
        checker::HtmlView(Checked(Edited(CommittedReport(FormGeneration::k30), "<KOMONSAKINAME>",
                                         "<KOMONSAKINAME>&lt;b&gt;&amp;")),
                          nullptr, stamp);
    EXPECT_EQ(0u, html.find("<!DOCTYPE html>"));
    EXPECT_NE(std::string::npos, html.find("<meta charset=\"utf-8\">"));
    EXPECT_NE(std::string::npos, html.find("size: A4 portrait"));
    for (const char* outside : {"http:", "https:", "<script", "src=", "<link", "@import"})
        EXPECT_EQ(std::string::npos, html.find(outside)) << outside;
    // The only references are to the page's own patterns and notes.
    EXPECT_EQ(Count(html, "url("), Count(html, "url(#series-"));
    // A working paper: its own title, the date of the check and the checker's version; Windows'
    // Japanese fonts before the Linux ones.
    EXPECT_NE(
        std::string::npos,
        html.find(u8"<h1>事業概況書 確認表<span class=\"what\">&lt;b&gt;&amp;株式会社みなと商事"));
    EXPECT_NE(std::string::npos, html.find(u8"2025年5月20日 9:05"));
    EXPECT_NE(std::string::npos, html.find(u8"ovwcheck 21.00.01"));
    EXPECT_LT(html.find("\"Yu Gothic\""), html.find("\"IPAPGothic\""));
    EXPECT_LT(html.find("Meiryo"), html.find("\"Noto Sans CJK JP\""));
    // Element names only in the notes.
    EXPECT_EQ(1u, Count(html, "GENZAIRYOUSIIREDAKA"));
    // Text from the report is escaped.
    EXPECT_NE(std::string::npos, html.find(u8"&lt;b&gt;&amp;株式会社"));
    EXPECT_EQ(std::string::npos, html.find("<b>&"));
    // 36 main items in two tables and 12 months plus a total; one bar per filled monthly amount,
    // each series with a pattern of its own.
    EXPECT_EQ(2u + 36 + 1 + 13, Count(html, "<tr>") + Count(html, "<tr class=\"total\">") - 4);
    EXPECT_EQ(48u, Count(html, "class=\"bar\""));
    EXPECT_EQ(1u, Count(html, "<svg "));
    for (const char* pattern :
         {"id=\"series-0\"", "id=\"series-1\"", "id=\"series-2\"", "id=\"series-3\""})
        EXPECT_EQ(1u, Count(html, pattern)) << pattern;
}
