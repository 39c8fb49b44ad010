// The checker's rules on the committed full-run reports and on copies edited by hand the way a
// wrong mapping would change them.
#include "checker/checks.h"
#include "checker/rules.h"
#include "checker/views.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using checker::Severity;
using checker_test::CommittedReport;
using checker_test::Edited;
using checker_test::Ids;
using checker_test::Read;

namespace {

using Strings = std::vector<std::string>;

std::vector<checker::Finding> Check(const std::string& bytes) {
    const auto outcome = Read(bytes);
    EXPECT_TRUE(outcome.ok) << outcome.error.line << ":" << outcome.error.column << " "
                            << outcome.error.message;
    return checker::CheckReport(outcome.report);
}

// The lines a finding names, the line it is about first.
Strings Tags(const checker::Finding& finding) {
    Strings tags;
    for (const auto& term : finding.terms)
        tags.push_back(term.line->tag +
                       (term.part == checker::LinePart::kTwelveMonths ? "01-12" : ""));
    return tags;
}

const checker::Finding& OnlyFinding(const std::vector<checker::Finding>& findings) {
    for (const auto& finding : findings) {
        if (finding.severity == Severity::kFinding)
            return finding;
    }
    static const checker::Finding none;
    ADD_FAILURE() << "no finding";
    return none;
}

} // namespace

TEST(CheckerRules, CommittedReportsOfBothGenerationsCheckClean) {
    for (FormGeneration form : {FormGeneration::k16, FormGeneration::k30}) {
        const auto findings = Check(CommittedReport(form));
        EXPECT_EQ(Strings{}, Ids(findings, Severity::kFinding))
            << "generation " << static_cast<int>(form);
        EXPECT_EQ(Strings{}, Ids(findings, Severity::kNotApplicable));
    }
    // The lines the sample company leaves empty are pointed out, as hints only: the three
    // lines of making costs, normally empty for a trading company, in one.
    const auto findings = Check(CommittedReport(FormGeneration::k30));
    EXPECT_EQ((Strings{"usually-empty-trade", "empty-monthly-line"}),
              Ids(findings, Severity::kHint));
    EXPECT_EQ(u8"2ページ目「原材料仕入高」「労務費」「製造経費」",
              checker::SubjectText(findings[0]));
    // The older form's company makes what it sells: no merchandise bought.
    EXPECT_EQ((Strings{"usually-empty-making", "empty-monthly-line"}),
              Ids(Check(CommittedReport(FormGeneration::k16)), Severity::kHint));
}

TEST(CheckerRules, AnEmptyLineOutsideItsUsualGroupIsPointedOutAlone) {
    // A trading company without making costs, but one of them filled: the others are hinted one
    // by one, and an empty total (a label) is told to be checked in the books.
    std::string bytes =
        Edited(CommittedReport(FormGeneration::k30), "<ROUMUHI></ROUMUHI>", "<ROUMUHI>5</ROUMUHI>");
    bytes = Edited(bytes, "<EIGYOUSONEKI>4222453</EIGYOUSONEKI>", "<EIGYOUSONEKI></EIGYOUSONEKI>");
    const auto findings = Check(bytes);
    Strings subjects;
    for (const auto& finding : findings) {
        if (std::string(finding.rule->id) == "empty-line")
            subjects.push_back(checker::SubjectText(finding) + " " + checker::AdviceText(finding));
    }
    EXPECT_EQ(
        (Strings{u8"2ページ目「原材料仕入高」 2ページ目の「原材料仕入高」のボタンで、集約する科目の"
                 u8"漏れがないか確認してください。",
                 u8"2ページ目「製造経費」 2ページ目の「製造経費」のボタンで、集約する科目の"
                 u8"漏れがないか確認してください。",
                 u8"2ページ目「営業損益金額」 この行は会計データの合計から集計されます。会計デー"
                 u8"タにこの行の科目の残高があるか確認してください。"}),
        subjects);
}

TEST(CheckerRules, EveryRuleNamesLinesOfTheFormItemsOfItsGenerations) {
    for (FormGeneration form : {FormGeneration::k16, FormGeneration::k30}) {
        const checker::FormItems* items = checker_test::DeliveredFormItems(form);
        ASSERT_NE(nullptr, items);
        std::vector<const checker::Rule*> rules = checker::ReportRules();
        for (const checker::Rule* rule : checker::ComparisonRules())
            rules.push_back(rule);
        for (const checker::Rule* rule : rules) {
            if (rule->left != nullptr) {
                EXPECT_NE(nullptr, items->Find(rule->left)) << rule->id << " " << rule->left;
            }
            for (const checker::Term& term : rule->terms) {
                // The older form's special gains and losses are one line, the newer form's two:
                // the sign rule names the lines of both, each a line of one of them.
                const bool inEither =
                    checker_test::DeliveredFormItems(FormGeneration::k16)->Find(term.tag) !=
                        nullptr ||
                    checker_test::DeliveredFormItems(FormGeneration::k30)->Find(term.tag) !=
                        nullptr;
                if (std::string(rule->id) == "sign-changed")
                    EXPECT_TRUE(inEither) << rule->id << " " << term.tag;
                else
                    EXPECT_NE(nullptr, items->Find(term.tag)) << rule->id << " " << term.tag;
            }
            EXPECT_NE(std::string(rule->wording), "") << rule->id;
            EXPECT_NE(std::string(rule->advice), "") << rule->id;
        }
    }
}

TEST(CheckerRules, AnAccountDroppedFromTheCapitalSectionUnbalancesTheBalanceSheet) {
    // 2,000,000 yen of capital not aggregated: SIHON 82,143,903 -> 80,143,903.
    const auto findings = Check(Edited(CommittedReport(FormGeneration::k30),
                                       "<SIHON>82143903</SIHON>", "<SIHON>80143903</SIHON>"));
    ASSERT_EQ(Strings{"balance"}, Ids(findings, Severity::kFinding));
    const auto& finding = OnlyFinding(findings);
    EXPECT_EQ((Strings{"SISAN", "FUSAI", "SIHON"}), Tags(finding));
    EXPECT_EQ(162723469, finding.terms[0].amount);
    EXPECT_EQ(80143903, finding.terms[2].amount);
    EXPECT_EQ(2000001, finding.difference);
    EXPECT_EQ(2, finding.tolerance);
}

TEST(CheckerRules, AnAccountDroppedFromTheLiabilitiesOfTheOlderForm) {
    const std::string bytes = CommittedReport(FormGeneration::k16);
    const std::size_t at = bytes.find("<FUSAI>") + 7;
    const std::string fusai = bytes.substr(at, bytes.find('<', at) - at);
    const long long lowered = std::stoll(fusai) - 123456;
    const auto findings = Check(Edited(bytes, "<FUSAI>" + fusai + "</FUSAI>",
                                       "<FUSAI>" + std::to_string(lowered) + "</FUSAI>"));
    ASSERT_EQ(Strings{"balance"}, Ids(findings, Severity::kFinding));
    EXPECT_EQ(123456, OnlyFinding(findings).difference);
}

TEST(CheckerRules, AnAmountDoubledBreaksTheCostOfSales) {
    // An outsourcing account mapped twice: GAITYUUHI 4,508,493 -> 9,016,986.
    const auto findings =
        Check(Edited(CommittedReport(FormGeneration::k30), "<GAITYUUHI>4508493</GAITYUUHI>",
                     "<GAITYUUHI>9016986</GAITYUUHI>"));
    ASSERT_EQ(Strings{"cost-of-sales"}, Ids(findings, Severity::kFinding));
    const auto& finding = OnlyFinding(findings);
    EXPECT_EQ((Strings{"URIAGEGENKA", "KISYUTANAOROSIDAKA", "GENZAIRYOUSIIREDAKA", "ROUMUHI",
                       "GAITYUUHI", "SIIREDAKA", "SEIZOUKEIHI", "KIMATUTANAOROSIDAKA"}),
              Tags(finding));
    EXPECT_EQ(-1, finding.terms.back().sign);
    EXPECT_EQ(-4508493, finding.difference);
    EXPECT_EQ(7, finding.tolerance);
}

TEST(CheckerRules, AMonthMissingBreaksTheMonthlySalesAndIsPointedOut) {
    // August's sales lost: the fifth month of a year from April.
    const auto findings =
        Check(Edited(CommittedReport(FormGeneration::k30),
                     "<TUKIBETUURIAGEKINGAKU05>24933765</TUKIBETUURIAGEKINGAKU05>",
                     "<TUKIBETUURIAGEKINGAKU05></TUKIBETUURIAGEKINGAKU05>"));
    ASSERT_EQ(Strings{"monthly-sales"}, Ids(findings, Severity::kFinding));
    const auto& finding = OnlyFinding(findings);
    EXPECT_EQ((Strings{"TUKIBETUURIAGEKINGAKU01-12", "URIAGEDAKA"}), Tags(finding));
    EXPECT_EQ(-24933765, finding.difference);
    EXPECT_EQ(12, finding.tolerance);
    Strings monthHints;
    for (const auto& f : findings) {
        if (f.severity == Severity::kHint && std::string(f.rule->id) == "empty-month")
            monthHints.push_back(checker::SubjectText(f) + " " + checker::TagsText(f));
    }
    EXPECT_EQ(Strings{u8"3ページ目「売上（収入）金額」 8月 TUKIBETUURIAGEKINGAKU05"}, monthHints);
}

TEST(CheckerRules, APartLargerThanItsWhole) {
    const auto findings = Check(Edited(CommittedReport(FormGeneration::k30),
                                       "<KENGYOUURIAGEDAKA>1653940</KENGYOUURIAGEDAKA>",
                                       "<KENGYOUURIAGEDAKA>338797351</KENGYOUURIAGEDAKA>"));
    ASSERT_EQ(Strings{"part-side-sales"}, Ids(findings, Severity::kFinding));
    const auto& finding = OnlyFinding(findings);
    EXPECT_EQ((Strings{"KENGYOUURIAGEDAKA", "URIAGEDAKA"}), Tags(finding));
    EXPECT_EQ(1, finding.difference);
}

TEST(CheckerRules, AnAssetLargerThanTheTotalAssetsOfTheOlderForm) {
    const std::string bytes = CommittedReport(FormGeneration::k16);
    const std::size_t at = bytes.find("<TOTI>");
    const std::size_t end = bytes.find("</TOTI>", at) + 7;
    const auto findings = Check(bytes.substr(0, at) + "<TOTI>999999999</TOTI>" + bytes.substr(end));
    EXPECT_EQ(Strings{"part-land"}, Ids(findings, Severity::kFinding));
}

TEST(CheckerRules, ANegativePartIsNeverLargerThanItsWhole) {
    const auto findings = Check(Edited(CommittedReport(FormGeneration::k30),
                                       "<SIHON>82143903</SIHON>", "<SIHON>-82143903</SIHON>"));
    // The balance breaks, but a negative capital is no part-of finding.
    EXPECT_EQ(Strings{"balance"}, Ids(findings, Severity::kFinding));
}

TEST(CheckerRules, OneYenPerTermAddedIsAllowed) {
    // SISAN = FUSAI + SIHON + 1 in the committed report; two terms allow 2 yen, not 3.
    const std::string bytes = CommittedReport(FormGeneration::k30);
    EXPECT_EQ(Strings{},
              Ids(Check(Edited(bytes, "<SISAN>162723469</SISAN>", "<SISAN>162723470</SISAN>")),
                  Severity::kFinding));
    EXPECT_EQ(Strings{"balance"},
              Ids(Check(Edited(bytes, "<SISAN>162723469</SISAN>", "<SISAN>162723471</SISAN>")),
                  Severity::kFinding));
    EXPECT_EQ(Strings{},
              Ids(Check(Edited(bytes, "<SISAN>162723469</SISAN>", "<SISAN>162723466</SISAN>")),
                  Severity::kFinding));
}

TEST(CheckerRules, AllMainItemsEmptyGiveOneFinding) {
    std::string bytes = CommittedReport(FormGeneration::k30);
    const auto outcome = Read(bytes);
    ASSERT_TRUE(outcome.ok);
    for (const auto& item : outcome.report.mainItems) {
        const std::string tag = item.line->tag;
        const std::size_t at = bytes.find("<" + tag + ">") + tag.size() + 2;
        bytes.erase(at, bytes.find("</" + tag + ">", at) - at);
    }
    const auto findings = Check(bytes);
    EXPECT_EQ(Strings{"all-empty"}, Ids(findings, Severity::kFinding));
    EXPECT_EQ(Strings{}, Ids(findings, Severity::kNotApplicable));
    for (const auto& finding : findings) {
        EXPECT_NE(std::string("empty-line"), finding.rule->id);
        EXPECT_NE(std::string("usually-empty-trade"), finding.rule->id);
    }
}

TEST(CheckerRules, MonthlySumsDoNotApplyToAPeriodShorterThanAYear) {
    const auto findings = Check(Edited(CommittedReport(FormGeneration::k30),
                                       "<JIGYOUNENDOTO>20250331</JIGYOUNENDOTO>",
                                       "<JIGYOUNENDOTO>20250228</JIGYOUNENDOTO>"));
    EXPECT_EQ(Strings{}, Ids(findings, Severity::kFinding));
    EXPECT_EQ((Strings{"monthly-sales", "monthly-purchases"}),
              Ids(findings, Severity::kNotApplicable));
    EXPECT_NE(std::string::npos, findings[0].note.find(u8"1 年ちょうどではない"));
    EXPECT_EQ(u8"3ページ目「売上（収入）金額」 12 か月の計", checker::SubjectText(findings[0]));
}

TEST(CheckerRules, WholeYearPeriods) {
    checker::Report report;
    report.months[0] = 4;
    const struct {
        std::int32_t from, to;
        int firstMonth;
        bool whole;
    } cases[] = {
        {20240401, 20250331, 4, true},  {20240101, 20241231, 1, true},
        {20240229, 20250228, 2, true},  {20230301, 20240229, 3, true},
        {20240121, 20250120, 1, true},  {20240401, 20250330, 4, false},
        {20240401, 20260331, 4, false}, {20240401, 20250331, 5, false},
        {20240431, 20250430, 4, false},
    };
    for (const auto& c : cases) {
        report.periodFrom = c.from;
        report.periodTo = c.to;
        report.months[0] = c.firstMonth;
        const auto why = checker::WhyNotWholeYear(report);
        EXPECT_EQ(c.whole, !why.has_value()) << c.from << "-" << c.to << " " << why.value_or("");
        EXPECT_TRUE(!why || !why->empty());
    }
}
