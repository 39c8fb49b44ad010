// This year's report against last year's: each main item and each monthly line's year, both
// years' amounts side by side, and the findings of the comparison rules.
#pragma once

#include "checker/checks.h"
#include "checker/report.h"

#include <optional>
#include <string>
#include <vector>

namespace checker {

// One line in both years. A year whose form has no such line has no amount at all (the forms of
// the two generations differ in a few lines).
struct ComparedLine {
    const FormItem* line = nullptr; // this year's, or last year's when only its form has it
    std::optional<Amount> current;
    std::optional<Amount> previous;
};

// This year less last year; nothing when a year's form lacks the line or both are empty.
std::optional<std::int64_t> DifferenceOf(const ComparedLine& compared);
// The difference in percent of last year's amount; nothing when that is empty.
std::optional<double> ChangePercentOf(const ComparedLine& compared);

struct Comparison {
    const Report* current = nullptr;
    const Report* previous = nullptr;
    std::vector<ComparedLine> mainItems;     // this year's order, then last year's other lines
    std::vector<ComparedLine> monthlyTotals; // the year's total of each monthly line
    // Last year's amounts of this year's monthly rows, month by month in this year's order
    // (the same calendar month); empty amounts where last year's form lacks the line.
    std::vector<std::array<Amount, kMonths>> previousMonths;
};

// Why two reports cannot be compared: a different product (edition), or a "last year" that does
// not end before this year starts. Nothing when they can.
std::optional<std::string> WhyNotComparable(const Report& current, const Report& previous);

Comparison Compare(const Report& current, const Report& previous);

// The findings of the comparison rules, in their order.
std::vector<Finding> CheckComparison(const Comparison& comparison);

} // namespace checker
