// Checking a report against the rules of its generation.
#pragma once

#include "checker/report.h"
#include "checker/rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace checker {

enum class Severity {
    kFinding,       // something to correct before filing
    kHint,          // worth a look
    kNotApplicable, // a rule that this report gives nothing to check
};

// One line of a finding: a statement line (or a sum of its months) and its amount.
struct FindingTerm {
    int sign = 0;     // 0 for the line the finding is about, else +1 or -1
    std::string name; // UTF-8
    std::string tag;
    Amount amount;
};

struct Finding {
    Severity severity = Severity::kFinding;
    const Rule* rule = nullptr;
    std::string subject; // the line (and month) the finding is about
    std::vector<FindingTerm> terms;
    std::optional<std::int64_t> difference; // left less the sum of the terms
    int tolerance = 0;                      // yen allowed for cut fractions
    std::string note;                       // why a rule does not apply
};

// Whether the report covers one whole accounting year: the period runs from a day to the day
// before the same day a year later, and the months start with the period's first month. why
// says what is missing when it does not.
bool CoversWholeYear(const Report& report, std::string& why);

std::vector<Finding> CheckReport(const Report& report);

// Counts by severity.
int CountOf(const std::vector<Finding>& findings, Severity severity);

} // namespace checker
