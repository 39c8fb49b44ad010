// The checks of a report, as data: sums and part-of relations between lines named by their
// tags, hints for empty lines, and the comparisons with last year's report, each with the
// wording of its finding and what to do about it. The form-item files define which lines exist;
// a rule names lines that a generation may lack, and the checks use the lines it has.
#pragma once

#include <vector>

namespace checker {

enum class Severity {
    kFinding,       // something to correct (or to confirm) before filing
    kHint,          // worth a look
    kNotApplicable, // a rule that this report gives nothing to check
};

enum class RuleKind {
    // left = the signed sum of terms.
    kSum,
    // left, a part of terms[0], is not larger than it when both are positive.
    kPartOf,
    // The twelve months of the monthly line left add up to the sum of terms, for a report
    // that covers a whole year.
    kMonthlySum,
    // All main items empty or zero: one finding.
    kAllMainEmpty,
    // One hint for the terms, all empty, while left is filled: lines that are normally empty
    // for the kind of business that left marks. Its lines get no hint of kEmptyMainItem.
    kUsuallyEmpty,
    // A hint for a main item that is empty while other main items are filled.
    kEmptyMainItem,
    // A hint for a monthly line that is empty in every month while other monthly lines are
    // filled.
    kEmptyMonthlyLine,
    // A hint for a month that is empty in a monthly line whose other months are filled.
    kEmptyMonth,

    // Comparisons with last year, over the main items and the year's totals of the monthly
    // lines that both years' forms have:
    // filled last year, empty now;
    kVanished,
    // empty last year, filled now;
    kAppeared,
    // filled in both years with opposite signs (except the lines of terms, whose sign turns
    // in the ordinary course of business);
    kSignChanged,
    // changed by more than threshold percent of last year's amount, and by more than floor
    // percent of the larger of this year's sales (left) and total assets (terms[0]);
    kChangedBeyond,
    // the share of left in terms[0] moved by more than threshold percentage points.
    kShareMoved,
};

struct Term {
    int sign; // +1 or -1
    const char* tag;
};

struct Rule {
    const char* id; // short ASCII name, for tests and the page
    RuleKind kind;
    Severity severity;
    const char* left;
    std::vector<Term> terms;
    // What is wrong, and what to do: advice when the finding names a line button ("{buttons}"
    // is where they are), labelAdvice when it names only labels, whose amounts the host's totals
    // give (null: advice). Texts of the catalogue, UTF-8.
    const char* wording;
    const char* advice;
    const char* labelAdvice;
    int threshold;
    int floor;
};

// The checks of a report (of either generation), in the order their findings are listed.
std::vector<const Rule*> ReportRules();
// The comparisons with last year, in the order their findings are listed.
std::vector<const Rule*> ComparisonRules();

} // namespace checker
