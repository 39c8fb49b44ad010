// This year's report against last year's: the committed full run of the newer form as this year,
// and copies of it doctored as last year the way a lost or doubled mapping would show.
#include "checker/comparison.h"
#include "checker/views.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using checker::Severity;
using checker_test::Checked;
using checker_test::CommittedReport;
using checker_test::Edited;

namespace {

using Strings = std::vector<std::string>;

// The committed report moved one year back, as last year's.
std::string LastYear(std::string bytes) {
    bytes = Edited(bytes, "<JIGYOUNENDOFROM>20240401<", "<JIGYOUNENDOFROM>20230401<");
    return Edited(bytes, "<JIGYOUNENDOTO>20250331<", "<JIGYOUNENDOTO>20240331<");
}

// The comparison findings as "rule line".
Strings Compared(const checker::Report& current, const checker::Report& previous) {
    Strings found;
    for (const auto& finding : checker::CheckComparison(checker::Compare(current, previous)))
        found.push_back(std::string(finding.rule->id) + " " + finding.lines.front()->tag);
    return found;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

const checker::ComparedLine& LineOf(const std::vector<checker::ComparedLine>& lines,
                                    const std::string& tag) {
    for (const auto& line : lines) {
        if (line.line->tag == tag)
            return line;
    }
    static const checker::ComparedLine none;
    ADD_FAILURE() << "no line " << tag;
    return none;
}

} // namespace

TEST(CheckerComparison, TheSameYearAgainHasNothingToSay) {
    const auto current = Checked(CommittedReport(FormGeneration::k30));
    const auto previous = Checked(LastYear(CommittedReport(FormGeneration::k30)));
    EXPECT_EQ(std::nullopt, checker::WhyNotComparable(current.report, previous.report));
    EXPECT_EQ(Strings{}, Compared(current.report, previous.report));
    const auto comparison = checker::Compare(current.report, previous.report);
    ASSERT_EQ(36u, comparison.mainItems.size());
    ASSERT_EQ(5u, comparison.monthlyTotals.size());
    const auto& sales = LineOf(comparison.mainItems, "URIAGEDAKA");
    EXPECT_EQ(0, checker::DifferenceOf(sales));
    EXPECT_EQ(0.0, checker::ChangePercentOf(sales));
    // Both years empty: no difference, no percent.
    const auto& empty = LineOf(comparison.mainItems, "ROUMUHI");
    EXPECT_EQ(std::nullopt, checker::DifferenceOf(empty));
    EXPECT_EQ(std::nullopt, checker::ChangePercentOf(empty));
    EXPECT_EQ(338797350,
              LineOf(comparison.monthlyTotals, "TUKIBETUURIAGEKINGAKU").current->value());
}

TEST(CheckerComparison, AVanishedLineASignChangeAndADoubledLine) {
    std::string last = LastYear(CommittedReport(FormGeneration::k30));
    // Raw materials bought last year and none now; other borrowings on the wrong side last year;
    // the employees' wages half of this year's (a second wages account mapped now); accounts
    // payable not mapped last year.
    last = Edited(last, "<GENZAIRYOUSIIREDAKA></GENZAIRYOUSIIREDAKA>",
                  "<GENZAIRYOUSIIREDAKA>1200000</GENZAIRYOUSIIREDAKA>");
    last = Edited(last, "<SONOTAKARIIREKIN>35400000<", "<SONOTAKARIIREKIN>-35400000<");
    last = Edited(last, "<ZYUUGYOUINKYUURYOU>50169749<", "<ZYUUGYOUINKYUURYOU>25084874<");
    last = Edited(last, "<KAIKAKEKIN>25612279<", "<KAIKAKEKIN><");
    // An operating loss last year: profits turn without a finding.
    last = Edited(last, "<EIGYOUSONEKI>4222453<", "<EIGYOUSONEKI>-1000000<");
    const auto current = Checked(CommittedReport(FormGeneration::k30));
    const auto previous = Checked(last);
    EXPECT_EQ((Strings{"vanished GENZAIRYOUSIIREDAKA", "appeared KAIKAKEKIN",
                       "sign-changed SONOTAKARIIREKIN", "changed ZYUUGYOUINKYUURYOU"}),
              Compared(current.report, previous.report));

    const auto comparison = checker::Compare(current.report, previous.report);
    const auto findings = checker::CheckComparison(comparison);
    const auto& doubled = findings.back();
    EXPECT_EQ(Severity::kFinding, doubled.severity);
    EXPECT_EQ(25084875, doubled.difference);
    EXPECT_EQ(u8"2ページ目「従業員給料」", checker::SubjectText(doubled));
    EXPECT_EQ(u8"2ページ目「従業員給料」 前年", checker::TermText(doubled.terms[0]));
    EXPECT_EQ(25084874, doubled.terms[0].amount);
    EXPECT_EQ(u8"増減 25,084,875 円（+100.0%）", doubled.measure);
    EXPECT_NE(std::string::npos,
              checker::AdviceText(doubled).find(u8"2ページ目の「従業員給料」のボタンで"));
    const auto& line = LineOf(comparison.mainItems, "SONOTAKARIIREKIN");
    EXPECT_EQ(70800000, checker::DifferenceOf(line));
    EXPECT_DOUBLE_EQ(200.0, *checker::ChangePercentOf(line));

    // The text and the page show both years side by side.
    auto checked = current;
    for (const auto& finding : findings)
        checked.findings.push_back(finding);
    const std::string text = checker::TextView(checked, &comparison, false);
    EXPECT_NE(std::string::npos,
              text.find(u8"前年との比較（前年の報告書: 2023年4月1日～2024年3月31日）"));
    EXPECT_NE(std::string::npos,
              text.find(u8"[指摘] 2ページ目「原材料仕入高」: 前年は金額がありましたが"));
    const std::string html = checker::HtmlView(checked, &comparison, {});
    EXPECT_NE(std::string::npos, html.find("class=\"sheet-break\""));
    // Last year's bars beside this year's: one per filled month of four lines each.
    EXPECT_EQ(48u, Count(html, "class=\"bar-last\""));
    EXPECT_EQ(48u, Count(html, "class=\"bar\""));
}

TEST(CheckerComparison, ASmallLineMayDoubleAndAShareMayNotMove) {
    std::string last = LastYear(CommittedReport(FormGeneration::k30));
    // Outsourcing doubled, but by less than 1 % of the sales: no finding.
    last = Edited(last, "<GAITYUUHI>4508493<", "<GAITYUUHI>2254246<");
    // The cost of sales at 57.6 % of the sales last year, 72.6 % now: more than 10 points.
    last = Edited(last, "<URIAGEGENKA>246047640<", "<URIAGEGENKA>195000000<");
    const auto current = Checked(CommittedReport(FormGeneration::k30));
    const auto previous = Checked(last);
    const auto findings =
        checker::CheckComparison(checker::Compare(current.report, previous.report));
    ASSERT_EQ(1u, findings.size());
    EXPECT_EQ(std::string("share-cost-of-sales"), findings[0].rule->id);
    EXPECT_EQ(u8"前年 57.6% → 今年 72.6%（+15.1 ポイント）", findings[0].measure);
    EXPECT_EQ(u8"売上原価の売上（収入）高に対する割合が、前年から 10 ポイントを超えて動きました。",
              checker::WordingText(findings[0]));
}

TEST(CheckerComparison, OnlyAnEarlierReportOfTheSameProductCompares) {
    const auto current = Checked(CommittedReport(FormGeneration::k30));
    // This year's own report is no last year.
    EXPECT_NE(std::nullopt, checker::WhyNotComparable(current.report, current.report));
    const auto other = Checked(Edited(LastYear(CommittedReport(FormGeneration::k30)),
                                      "Tessel</PROGRAMNAME>", "Quill</PROGRAMNAME>"));
    const auto why = checker::WhyNotComparable(current.report, other.report);
    ASSERT_NE(std::nullopt, why);
    EXPECT_NE(std::string::npos, why->find(u8"別の製品（Orvano２１ Quill）")) << *why;
}

TEST(CheckerComparison, TheOlderFormAgainstTheNewerKeepsTheLinesOfEach) {
    const auto current = Checked(CommittedReport(FormGeneration::k30));
    const auto previous = Checked(CommittedReport(FormGeneration::k16)); // a year of 2017
    ASSERT_EQ(std::nullopt, checker::WhyNotComparable(current.report, previous.report));
    const auto comparison = checker::Compare(current.report, previous.report);
    // 36 lines of this year, and last year's special gains and losses in one line.
    ASSERT_EQ(37u, comparison.mainItems.size());
    const auto& net = LineOf(comparison.mainItems, "TOKUBETUSONEKI");
    EXPECT_EQ(std::nullopt, net.current);
    EXPECT_EQ(std::nullopt, checker::DifferenceOf(net));
    EXPECT_EQ(std::nullopt, LineOf(comparison.mainItems, "TOKUBETURIEKI").previous);
    for (const auto& finding : checker::CheckComparison(comparison)) {
        for (const char* tag : {"TOKUBETUSONEKI", "TOKUBETURIEKI", "TOKUBETUSONSITU"})
            EXPECT_NE(tag, finding.lines.front()->tag) << finding.rule->id;
    }
    EXPECT_NE(std::string::npos,
              checker::TextView(current, &comparison, false).find(u8"（様式になし）"));
}

TEST(CheckerComparison, LastYearsMonthsAreMatchedByCalendarMonth) {
    auto current = Checked(CommittedReport(FormGeneration::k30));
    auto previous = Checked(LastYear(CommittedReport(FormGeneration::k30)));
    // Last year began in January: its first month's amounts belong beside this year's January.
    previous.report.months = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    previous.report.monthlyRows[0].amounts[0] = 111;
    const auto comparison = checker::Compare(current.report, previous.report);
    ASSERT_EQ(5u, comparison.previousMonths.size());
    EXPECT_EQ(1, current.report.months[9]);
    EXPECT_EQ(111, comparison.previousMonths[0][9]);
}
