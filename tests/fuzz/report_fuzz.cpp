// Fuzz target of the report checker's reader and its comparison with last year: any bytes are
// either read as a report of one of the two generations, then checked and shown without fault,
// or refused with a place in the file and a reason. Bytes after the first report's end are last
// year's report (--previous); without them last year's is the committed full run of the newer
// form. A readable pair is compared both ways. The form-item lines are the delivered files.
#include "checker/checks.h"
#include "checker/comparison.h"
#include "checker/report.h"
#include "checker/views.h"
#include "settings/statement_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const checker::FormItems* Delivered(FormGeneration form, const std::string&) {
    static checker::FormItems items[2];
    static int state[2] = {0, 0}; // 0 not read, 1 read
    int& s = state[(form == FormGeneration::k30 ? 1 : 0)];
    if (s == 0) {
        const std::string path = std::string(OVW_BIN_DIR) + "/" + FormItemFileName("Ivy", form);
        if (!checker::LoadFormItems(ReadBytes(path), path, form,
                                    items[(form == FormGeneration::k30 ? 1 : 0)])
                 .ok())
            std::abort(); // the build's data files must be there
        s = 1;
    }
    return &items[(form == FormGeneration::k30 ? 1 : 0)];
}

// Reads and checks; false when the bytes are refused (with a place and a reason).
bool ReadChecked(const std::string& bytes, checker::CheckedReport& checked) {
    checker::ReadError error;
    if (!checker::ReadReport(bytes, Delivered, checked.report, error).ok()) {
        if (error.line < 1 || error.column < 1 || error.message.empty())
            std::abort();
        return false;
    }
    const checker::Report& report = checked.report;
    const checker::FormItems& items = *Delivered(report.form, report.programName);
    std::size_t mainLines = 0;
    for (const auto& line : items.lines)
        mainLines += line.monthly ? 0 : 1;
    if (report.mainItems.size() != mainLines ||
        report.monthlyRows.size() != items.lines.size() - mainLines)
        std::abort();
    for (int i = 1; i < checker::kMonths; ++i) {
        if (report.months[i] != report.months[i - 1] % 12 + 1)
            std::abort();
    }
    checked.source = "f";
    checked.findings = checker::CheckReport(report);
    return true;
}

void Compare(checker::CheckedReport current, const checker::CheckedReport& previous) {
    if (checker::WhyNotComparable(current.report, previous.report))
        return;
    const checker::Comparison comparison = checker::Compare(current.report, previous.report);
    if (comparison.mainItems.size() < current.report.mainItems.size() ||
        comparison.previousMonths.size() != current.report.monthlyRows.size())
        std::abort();
    for (checker::Finding& finding : checker::CheckComparison(comparison)) {
        if (finding.lines.empty() || finding.terms.empty() || checker::AdviceText(finding).empty())
            std::abort();
        current.findings.push_back(std::move(finding));
    }
    if (checker::TextView(current, &comparison, true).empty() ||
        checker::HtmlView(current, &comparison, {}).empty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string end = "</REPORT>\r\n";
    const std::size_t split = bytes.find(end);
    const bool two = split != std::string::npos && split + end.size() < bytes.size();
    checker::CheckedReport current;
    if (!ReadChecked(two ? bytes.substr(0, split + end.size()) : bytes, current))
        return 0;
    if (checker::TextView(current, nullptr, false).empty() ||
        checker::HtmlView(current, nullptr, {}).empty())
        std::abort();
    static const std::string committed =
        ReadBytes(std::string(OVW_SOURCE_DIR) + "/tests/e2e/reports/sheet_full_run_rv30.xml");
    checker::CheckedReport previous;
    if (!ReadChecked(two ? bytes.substr(split + end.size()) : committed, previous))
        return 0;
    Compare(current, previous);
    Compare(previous, current);
    return 0;
}
