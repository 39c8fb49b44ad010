// Reports and catalogues for the checker's tests: the delivered form-item files of the Ivy
// edition and the two committed full-run reports, read as they are.
#pragma once

#include "checker/catalogue.h"
#include "checker/checks.h"
#include "checker/report.h"
#include "settings/statement_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace checker_test {

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path << " cannot be read";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The committed report of a full run of one generation (Shift_JIS, CR LF).
inline std::string CommittedReport(bool newForm) {
    return ReadBytes(std::string(OVW_SOURCE_DIR) + "/tests/e2e/reports/sheet_full_run_rv" +
                     (newForm ? "30" : "16") + ".xml");
}

inline const checker::Catalogue* DeliveredCatalogue(bool newForm) {
    static checker::Catalogue catalogues[2];
    static bool loaded[2] = {false, false};
    const int i = newForm ? 1 : 0;
    if (!loaded[i]) {
        const std::string bytes =
            ReadBytes(std::string(OVW_BIN_DIR) + "/" +
                      FormItemFileName("Ivy", newForm ? FormGeneration::k30 : FormGeneration::k16));
        loaded[i] = checker::LoadCatalogue(bytes, newForm, catalogues[i]);
        EXPECT_TRUE(loaded[i]) << "the delivered form-item file of generation "
                               << (newForm ? "30" : "16") << " is not read";
    }
    return loaded[i] ? &catalogues[i] : nullptr;
}

struct ReadOutcome {
    bool ok = false;
    checker::Report report;
    checker::ReadError error;
};

inline ReadOutcome Read(const std::string& bytes) {
    ReadOutcome outcome;
    outcome.ok = checker::ReadReport(bytes, DeliveredCatalogue, outcome.report, outcome.error);
    return outcome;
}

// bytes with the one occurrence of from replaced by to.
inline std::string Edited(std::string bytes, const std::string& from, const std::string& to) {
    const std::size_t at = bytes.find(from);
    EXPECT_NE(std::string::npos, at) << "no " << from;
    EXPECT_EQ(std::string::npos, bytes.find(from, at + 1)) << from << " occurs twice";
    if (at != std::string::npos)
        bytes.replace(at, from.size(), to);
    return bytes;
}

// The rule ids of the findings of one severity, in order.
inline std::vector<std::string> Ids(const std::vector<checker::Finding>& findings,
                                    checker::Severity severity) {
    std::vector<std::string> ids;
    for (const checker::Finding& finding : findings) {
        if (finding.severity == severity)
            ids.push_back(finding.rule->id);
    }
    return ids;
}

} // namespace checker_test
