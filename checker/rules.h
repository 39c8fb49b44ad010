// The checks of a report, as data: sums and part-of relations between lines named by their
// tags, with the wording of the finding beside each. The form-item files define which lines
// exist; a rule names lines that a generation may lack, and the checks use the lines it has.
#pragma once

#include <vector>

namespace checker {

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
    // A hint for a main item that is empty while other main items are filled.
    kEmptyMainItem,
    // A hint for a monthly line that is empty in every month while other monthly lines are
    // filled.
    kEmptyMonthlyLine,
    // A hint for a month that is empty in a monthly line whose other months are filled.
    kEmptyMonth,
};

struct Term {
    int sign; // +1 or -1
    const char* tag;
};

// Which form generations a rule belongs to.
enum Forms { kForm16 = 1, kForm30 = 2, kBothForms = kForm16 | kForm30 };

struct Rule {
    const char* id; // short ASCII name, for tests and the page
    int forms;
    RuleKind kind;
    const char* left;
    std::vector<Term> terms;
    const char* wording; // UTF-8: what is wrong and what to look at
};

// The rules of a generation, in the order their findings are listed.
std::vector<const Rule*> RulesFor(bool newForm);
// Every rule of every generation (for tests).
const std::vector<Rule>& AllRules();

} // namespace checker
