// Checking a report against the rules of its generation.
#pragma once

#include "checker/report.h"
#include "checker/rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace checker {

// Which amount of a line a finding or its term is about.
enum class LinePart {
    kAmount,       // the line's amount (a main item) or the month of the finding
    kTwelveMonths, // the sum of the twelve months of a monthly line
    kLastYear,     // the line's amount in last year's report
    kThisYear,     // the line's amount in this report, beside last year's
};

// One line of a finding: a statement line (or a part of it) and its amount.
struct FindingTerm {
    int sign = 0; // 0 for the line the finding is about, else +1 or -1
    const FormItem* line = nullptr;
    LinePart part = LinePart::kAmount;
    Amount amount;
};

struct Finding {
    Severity severity = Severity::kFinding;
    const Rule* rule = nullptr;
    // The lines it is about: one, several for a merged hint, none for the report as a whole.
    std::vector<const FormItem*> lines;
    LinePart part = LinePart::kAmount;
    std::optional<int> month; // index 0..11 of a month of a monthly line
    int calendarMonth = 0;    // and its calendar month
    std::vector<FindingTerm> terms;
    std::optional<std::int64_t> difference; // left less the sum of the terms
    int tolerance = 0;                      // yen allowed for cut fractions
    std::string measure;                    // what a comparison measured, as text
    std::string note;                       // why a rule does not apply
};

// Why a report does not cover one whole accounting year (the period running from a day to the
// day before the same day a year later, and the months starting with the period's first month);
// nothing when it does.
std::optional<std::string> WhyNotWholeYear(const Report& report);

std::vector<Finding> CheckReport(const Report& report);

// Counts by severity.
int CountOf(const std::vector<Finding>& findings, Severity severity);

// The lines of the finding and of its terms that are buttons of the sheet, each once.
std::vector<const FormItem*> ButtonsOf(const Finding& finding);

} // namespace checker
