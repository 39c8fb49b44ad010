// Every finding and hint names places that the user finds on the condition sheet: for each
// edition's delivered form-item files, reports doctored to trip every rule are checked, and every
// "page N" with its captions in a finding's subject, terms and advice must be a page of the sheet
// and captions that page shows: the captions the sheet gives its line controls from that
// edition's form-item file, the fixed texts of the page's resource script, the equity caption.
#include "app/edition.h"
#include "checker/comparison.h"
#include "checker/text_decode.h"
#include "checker/views.h"
#include "settings/statement_files.h"
#include "ui/page3_logic.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using checker_test::CommittedReport;
using checker_test::Edited;
using checker_test::ReadBytes;

namespace {

using Captions = std::map<int, std::set<std::string>>; // by page

// The quoted texts of a dialog's resource script (UTF-8): its caption and fixed labels.
std::set<std::string> ResourceTexts(const std::string& script) {
    std::set<std::string> texts;
    const std::string bytes = ReadBytes(std::string(OVW_SOURCE_DIR) + "/ui/resources/" + script);
    for (std::size_t at = bytes.find('"'); at != std::string::npos;) {
        const std::size_t end = bytes.find('"', at + 1);
        if (end == std::string::npos)
            break;
        texts.insert(bytes.substr(at + 1, end - at - 1));
        at = bytes.find('"', end + 1);
    }
    return texts;
}

Captions SheetCaptions(const std::string& edition, FormGeneration form) {
    StatementLines lines;
    EXPECT_TRUE(loadStatementLines(
        ReadBytes(std::string(OVW_BIN_DIR) + "/" + FormItemFileName(edition, form)), lines));
    Captions captions;
    captions[1] = ResourceTexts("page1.rc");
    captions[2] = ResourceTexts("page2.rc");
    captions[3] = ResourceTexts("page3.rc");
    for (const auto& [page, controls] : {std::pair<int, const std::vector<pages::LineControl>*>{
                                             2, &pages::MainAccountControls(form)},
                                         {3, &pages::MonthlyControls(form)}}) {
        for (const auto& caption : pages::CaptionLineControls(*controls, lines))
            captions[page].insert(checker::ShiftJisToUtf8Lenient(caption.text));
    }
    for (int equityLabel : {0, 1})
        captions[2].insert(checker::ShiftJisToUtf8Lenient(pages::EquityTotalCaption(equityLabel)));
    return captions;
}

// Every "N" of "Nページ目" in text with the captions in brackets that follow it.
std::vector<std::pair<int, std::vector<std::string>>> Places(const std::string& text) {
    std::vector<std::pair<int, std::vector<std::string>>> places;
    const std::string page = u8"ページ目";
    const std::string open = u8"「";
    const std::string close = u8"」";
    for (std::size_t at = text.find(page); at != std::string::npos; at = text.find(page, at + 1)) {
        std::pair<int, std::vector<std::string>> place{at > 0 ? text[at - 1] - '0' : -1, {}};
        std::size_t next = at + page.size();
        if (text.compare(next, std::string(u8"の").size(), u8"の") == 0)
            next += std::string(u8"の").size();
        while (text.compare(next, open.size(), open) == 0) {
            const std::size_t end = text.find(close, next);
            place.second.push_back(text.substr(next + open.size(), end - next - open.size()));
            next = end + close.size();
        }
        places.push_back(place);
    }
    return places;
}

// Copies of the committed reports that trip every rule of the report and of the comparison.
std::vector<std::string> Doctored(FormGeneration form) {
    const std::string bytes = CommittedReport(form);
    const auto replacedIn = [](std::string copy, const std::string& tag, const std::string& value) {
        const std::size_t at = copy.find("<" + tag + ">") + tag.size() + 2;
        copy.replace(at, copy.find('<', at) - at, value);
        return copy;
    };
    const auto replaced = [&](const std::string& tag, const std::string& value) {
        return replacedIn(bytes, tag, value);
    };
    std::vector<std::string> reports = {
        bytes,
        replaced("SIHON", "1"),
        replaced("URIAGEGENKA", "1"),
        replaced("URIAGESOURIEKI", "1"),
        replaced("GENKINYOKIN", "999999999999"),
        replaced("TUKIBETUURIAGEKINGAKU05", ""),
        replaced("TUKIBETUSIIREKINGAKU03", "1"),
        replaced("EIGYOUSONEKI", ""),
        replaced("URIKAKEKIN", "-1000000"),
        replaced("FUSAI", "1"),
        // A trader's report and a maker's.
        replacedIn(
            replacedIn(replacedIn(replaced("SIIREDAKA", "1000000"), "GENZAIRYOUSIIREDAKA", ""),
                       "ROUMUHI", ""),
            "SEIZOUKEIHI", ""),
        replacedIn(replaced("GENZAIRYOUSIIREDAKA", "1000000"), "SIIREDAKA", ""),
        replaced("JIGYOUNENDOTO", form == FormGeneration::k30 ? "20250330" : "20180330"),
    };
    // Every main item empty: the amounts between the main items' tags taken out.
    std::string empty = bytes;
    for (std::size_t at = empty.find("<SYUYOUKAMOKU>") + 13; at < empty.find("</SYUYOUKAMOKU>");
         at = empty.find('>', at + 1)) {
        const std::size_t value = at + 1;
        const std::size_t stop = empty.find('<', value);
        if (empty[value] != '<' && empty.compare(value, 1, "\r") != 0)
            empty.erase(value, stop - value);
    }
    reports.push_back(empty);
    // Each part of a total larger than the total.
    for (const char* part : {"KENGYOUURIAGEDAKA", "UKETORITEGATA", "URIKAKEKIN", "TANAOROSISISAN",
                             "KASITUKEKIN", "TATEMONO", "KIKAISOUTI", "SYARYOUSENPAKU", "TOTI",
                             "SIHARAITEGATA", "KAIKAKEKIN", "KOZINKARIIREKIN", "SONOTAKARIIREKIN"})
        reports.push_back(replaced(part, "999999999999"));
    return reports;
}

} // namespace

TEST(CheckerWording, EveryFindingNamesPagesAndCaptionsOfItsEditionsSheet) {
    for (const Edition* edition : {&kEditionIvy, &kEditionOak, &kEditionElm}) {
        for (FormGeneration form : {FormGeneration::k16, FormGeneration::k30}) {
            const Captions captions = SheetCaptions(edition->dataPrefix, form);
            checker::FormItems items;
            const std::string path =
                std::string(OVW_BIN_DIR) + "/" + FormItemFileName(edition->dataPrefix, form);
            ASSERT_TRUE(checker::LoadFormItems(ReadBytes(path), path, form, items).ok());
            const checker::FormItems* other =
                checker_test::DeliveredFormItems(OtherGeneration(form));
            const checker::FormItemsSource source = [&](FormGeneration generation,
                                                        const std::string&) {
                return generation == form ? &items : other;
            };
            std::set<std::string> rules;
            std::vector<checker::CheckedReport> checked;
            for (const std::string& bytes : Doctored(form)) {
                checker::CheckedReport one;
                checker::ReadError error;
                ASSERT_TRUE(checker::ReadReport(bytes, source, one.report, error).ok())
                    << error.message;
                one.findings = checker::CheckReport(one.report);
                checked.push_back(std::move(one));
            }
            // Last year, both ways: each doctored report against the committed one a year back,
            // and the committed one against each doctored report a year back.
            const auto yearBefore = [](checker::Report report) {
                report.periodFrom -= 10000;
                report.periodTo -= 10000;
                return report;
            };
            const checker::Report committedBefore = yearBefore(checked[0].report);
            for (std::size_t i = 1; i < checked.size(); ++i) {
                const checker::Report doctoredBefore = yearBefore(checked[i].report);
                for (auto& finding :
                     checker::CheckComparison(checker::Compare(checked[0].report, doctoredBefore)))
                    checked[0].findings.push_back(finding);
                for (auto& finding :
                     checker::CheckComparison(checker::Compare(checked[i].report, committedBefore)))
                    checked[i].findings.push_back(finding);
            }
            for (const auto& one : checked) {
                for (const checker::Finding& finding : one.findings) {
                    rules.insert(finding.rule->id);
                    std::string text = checker::SubjectText(finding);
                    for (const auto& term : finding.terms)
                        text += " " + checker::TermText(term);
                    if (finding.note.empty())
                        text += " " + checker::AdviceText(finding);
                    const auto places = Places(text);
                    EXPECT_FALSE(places.empty()) << text;
                    for (const auto& [page, named] : places) {
                        ASSERT_TRUE(captions.count(page)) << page << " in " << text;
                        for (const std::string& caption : named)
                            EXPECT_TRUE(captions.at(page).count(caption))
                                << edition->dataPrefix << " page " << page << ": " << caption
                                << " in " << text;
                    }
                }
            }
            // Every rule was tried.
            std::vector<const checker::Rule*> all = checker::ReportRules();
            for (const checker::Rule* rule : checker::ComparisonRules())
                all.push_back(rule);
            for (const checker::Rule* rule : all)
                EXPECT_TRUE(rules.count(rule->id))
                    << edition->dataPrefix << " " << static_cast<int>(form) << " " << rule->id;
        }
    }
}
