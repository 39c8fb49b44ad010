// Reports and form-item lines for the checker's tests: the delivered form-item files of the Ivy
// edition and the two committed full-run reports, read as they are.
#pragma once

#include "checker/checks.h"
#include "checker/form_items.h"
#include "checker/report.h"
#include "checker/views.h"
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
inline std::string CommittedReport(FormGeneration form) {
    return ReadBytes(std::string(OVW_SOURCE_DIR) + "/tests/e2e/reports/sheet_full_run_rv" +
                     (form == FormGeneration::k30 ? "30" : "16") + ".xml");
}

inline const checker::FormItems* DeliveredFormItems(FormGeneration form) {
    static checker::FormItems items[2];
    static bool loaded[2] = {false, false};
    const int i = (form == FormGeneration::k30 ? 1 : 0);
    if (!loaded[i]) {
        const std::string path = std::string(OVW_BIN_DIR) + "/" + FormItemFileName("Ivy", form);
        loaded[i] = checker::LoadFormItems(ReadBytes(path), path, form, items[i]).ok();
        EXPECT_TRUE(loaded[i]) << "the delivered form-item file of generation "
                               << (form == FormGeneration::k30 ? "30" : "16") << " is not read";
    }
    return loaded[i] ? &items[i] : nullptr;
}

inline const checker::FormItems* DeliveredFormItemsOf(FormGeneration form, const std::string&) {
    return DeliveredFormItems(form);
}

struct ReadOutcome {
    bool ok = false;
    checker::Report report;
    checker::ReadError error;
};

inline ReadOutcome Read(const std::string& bytes) {
    ReadOutcome outcome;
    outcome.ok =
        checker::ReadReport(bytes, DeliveredFormItemsOf, outcome.report, outcome.error).ok();
    return outcome;
}

// A report read and checked, as the views take it.
inline checker::CheckedReport Checked(const std::string& bytes) {
    ReadOutcome outcome = Read(bytes);
    EXPECT_TRUE(outcome.ok) << outcome.error.line << ":" << outcome.error.column << " "
                            << outcome.error.message;
    checker::CheckedReport checked;
    checked.source = "r.xml";
    checked.report = std::move(outcome.report);
    checked.findings = checker::CheckReport(checked.report);
    return checked;
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
