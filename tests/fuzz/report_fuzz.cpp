// Fuzz target of the report checker's reader: any bytes are either read as a report of one of
// the two generations, then checked and shown without fault, or refused with a place in the
// file and a reason. The catalogues are the delivered form-item files of the build.
#include "checker/checks.h"
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

const checker::Catalogue* Delivered(bool newForm) {
    static checker::Catalogue catalogues[2];
    static int state[2] = {0, 0}; // 0 not read, 1 read, -1 unreadable
    int& s = state[newForm ? 1 : 0];
    if (s == 0) {
        std::ifstream in(
            std::string(OVW_BIN_DIR) + "/" +
                FormItemFileName("Ivy", newForm ? FormGeneration::k30 : FormGeneration::k16),
            std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        s = checker::LoadCatalogue(bytes, newForm, catalogues[newForm ? 1 : 0]) ? 1 : -1;
        if (s < 0)
            std::abort(); // the build's data files must be there
    }
    return &catalogues[newForm ? 1 : 0];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checker::Report report;
    checker::ReadError error;
    if (!checker::ReadReport(bytes, Delivered, report, error)) {
        if (error.line < 1 || error.column < 1 || error.message.empty())
            std::abort();
        return 0;
    }
    const checker::Catalogue& catalogue = *Delivered(report.newForm);
    std::size_t mainLines = 0;
    for (const auto& line : catalogue.lines)
        mainLines += line.monthly ? 0 : 1;
    if (report.mainItems.size() != mainLines ||
        report.monthlyRows.size() != catalogue.lines.size() - mainLines)
        std::abort();
    for (int i = 1; i < checker::kMonths; ++i) {
        if (report.months[i] != report.months[i - 1] % 12 + 1)
            std::abort();
    }
    const auto findings = checker::CheckReport(report);
    if (checker::TextView("f", report, findings).empty() ||
        checker::HtmlView("f", report, findings).empty())
        std::abort();
    return 0;
}
