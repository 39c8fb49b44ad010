#include "checker/comparison.h"

#include "checker/editions.h"
#include "checker/format.h"
#include "texts/checker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace checker {

namespace {

std::optional<Amount> AmountOf(const Report& report, const std::string& tag, bool monthly) {
    if (!monthly) {
        const MainItem* item = report.FindMain(tag);
        return item != nullptr ? std::optional<Amount>(item->amount) : std::nullopt;
    }
    const MonthlyRow* row = report.FindMonthly(tag);
    return row != nullptr ? std::optional<Amount>(RowTotal(*row)) : std::nullopt;
}

// Both years of every line of either report: this year's lines in order, then last year's
// lines that this year's form does not have.
std::vector<ComparedLine> CompareLines(const Report& current, const Report& previous,
                                       bool monthly) {
    std::vector<ComparedLine> lines;
    const auto add = [&](const FormItem* line, bool ofCurrent) {
        if (!ofCurrent && AmountOf(current, line->tag, monthly))
            return;
        lines.push_back(
            {line, AmountOf(current, line->tag, monthly), AmountOf(previous, line->tag, monthly)});
    };
    if (monthly) {
        for (const MonthlyRow& row : current.monthlyRows)
            add(row.line, true);
        for (const MonthlyRow& row : previous.monthlyRows)
            add(row.line, false);
    } else {
        for (const MainItem& item : current.mainItems)
            add(item.line, true);
        for (const MainItem& item : previous.mainItems)
            add(item.line, false);
    }
    return lines;
}

class ComparisonChecker {
  public:
    explicit ComparisonChecker(const Comparison& comparison) : comparison_(comparison) {}

    std::vector<Finding> Run() {
        for (const Rule* rule : ComparisonRules()) {
            if (rule->kind == RuleKind::kShareMoved) {
                ApplyShare(*rule);
                continue;
            }
            for (const auto* lines : {&comparison_.mainItems, &comparison_.monthlyTotals}) {
                for (const ComparedLine& line : *lines)
                    Apply(*rule, line, lines == &comparison_.monthlyTotals);
            }
        }
        return std::move(findings_);
    }

  private:
    static bool Excluded(const Rule& rule, const FormItem& line) {
        for (const Term& term : rule.terms) {
            if (line.tag == term.tag)
                return true;
        }
        return false;
    }

    // The larger of this year's sales and total assets: the company's size.
    std::int64_t Size(const Rule& rule) const {
        const Report& current = *comparison_.current;
        std::int64_t size = 0;
        for (const char* tag : {rule.left, rule.terms.front().tag}) {
            const MainItem* item = current.FindMain(tag);
            if (item != nullptr && item->amount)
                size = std::max<std::int64_t>(size, std::llabs(*item->amount));
        }
        return size;
    }

    bool Triggers(const Rule& rule, const ComparedLine& compared) const {
        const Amount& now = *compared.current;
        const Amount& last = *compared.previous;
        switch (rule.kind) {
        case RuleKind::kVanished:
            return last && !now;
        case RuleKind::kAppeared:
            return !last && now;
        case RuleKind::kSignChanged:
            return last && now && (*last < 0) != (*now < 0) && !Excluded(rule, *compared.line);
        case RuleKind::kChangedBeyond: {
            if (!last || !now || (*last < 0) != (*now < 0))
                return false;
            const double change = std::fabs(static_cast<double>(*now - *last));
            return change * 100 > std::fabs(static_cast<double>(*last)) * rule.threshold &&
                   change * 100 > static_cast<double>(Size(rule)) * rule.floor;
        }
        default:
            return false;
        }
    }

    void Apply(const Rule& rule, const ComparedLine& compared, bool monthly) {
        if (!compared.current || !compared.previous || !Triggers(rule, compared))
            return;
        Finding finding;
        finding.severity = rule.severity;
        finding.rule = &rule;
        finding.lines = {compared.line};
        finding.part = monthly ? LinePart::kTwelveMonths : LinePart::kAmount;
        finding.terms = {{0, compared.line, LinePart::kLastYear, *compared.previous},
                         {0, compared.line, LinePart::kThisYear, *compared.current}};
        finding.difference = DifferenceOf(compared);
        const std::optional<double> percent = ChangePercentOf(compared);
        if (percent && finding.difference)
            finding.measure =
                Fill(texts::kChangeMeasure, {{"difference", WithSeparators(*finding.difference)},
                                             {"percent", PercentText(*percent)}});
        findings_.push_back(std::move(finding));
    }

    // The share of the rule's left line in its base, in percent, in one report.
    static std::optional<double> Share(const Report& report, const Rule& rule) {
        const MainItem* part = report.FindMain(rule.left);
        const MainItem* base = report.FindMain(rule.terms.front().tag);
        if (part == nullptr || base == nullptr || !part->amount || !base->amount ||
            *base->amount <= 0)
            return std::nullopt;
        return static_cast<double>(*part->amount) * 100 / static_cast<double>(*base->amount);
    }

    void ApplyShare(const Rule& rule) {
        const Report& current = *comparison_.current;
        const Report& previous = *comparison_.previous;
        const std::optional<double> now = Share(current, rule);
        const std::optional<double> last = Share(previous, rule);
        if (!now || !last || std::fabs(*now - *last) <= rule.threshold)
            return;
        const MainItem* part = current.FindMain(rule.left);
        const MainItem* base = current.FindMain(rule.terms.front().tag);
        const MainItem* lastPart = previous.FindMain(rule.left);
        const MainItem* lastBase = previous.FindMain(rule.terms.front().tag);
        Finding finding;
        finding.severity = rule.severity;
        finding.rule = &rule;
        finding.lines = {part->line};
        finding.terms = {{0, part->line, LinePart::kLastYear, lastPart->amount},
                         {0, part->line, LinePart::kThisYear, part->amount},
                         {0, base->line, LinePart::kLastYear, lastBase->amount},
                         {0, base->line, LinePart::kThisYear, base->amount}};
        finding.measure =
            Fill(texts::kShareMeasure, {{"last", PercentText(*last, false)},
                                        {"current", PercentText(*now, false)},
                                        {"change", PercentText(*now - *last, true, false)}});
        findings_.push_back(std::move(finding));
    }

    const Comparison& comparison_;
    std::vector<Finding> findings_;
};

} // namespace

std::optional<std::int64_t> DifferenceOf(const ComparedLine& compared) {
    if (!compared.current || !compared.previous || (!*compared.current && !*compared.previous))
        return std::nullopt;
    return compared.current->value_or(0) - compared.previous->value_or(0);
}

std::optional<double> ChangePercentOf(const ComparedLine& compared) {
    const std::optional<std::int64_t> difference = DifferenceOf(compared);
    if (!difference || !*compared.previous)
        return std::nullopt;
    return static_cast<double>(*difference) * 100 /
           std::fabs(static_cast<double>(**compared.previous));
}

std::optional<std::string> WhyNotComparable(const Report& current, const Report& previous) {
    if (EditionText(current) != EditionText(previous))
        return Fill(texts::kNotSameEdition,
                    {{"previous", previous.programName}, {"current", current.programName}});
    if (previous.periodTo >= current.periodFrom)
        return Fill(texts::kPreviousNotEarlier,
                    {{"previous", PeriodText(previous)}, {"current", PeriodText(current)}});
    return std::nullopt;
}

Comparison Compare(const Report& current, const Report& previous) {
    Comparison comparison;
    comparison.current = &current;
    comparison.previous = &previous;
    comparison.mainItems = CompareLines(current, previous, false);
    comparison.monthlyTotals = CompareLines(current, previous, true);
    for (const MonthlyRow& row : current.monthlyRows) {
        std::array<Amount, kMonths> months{};
        const MonthlyRow* last = previous.FindMonthly(row.line->tag);
        for (int i = 0; last != nullptr && i < kMonths; ++i) {
            for (int k = 0; k < kMonths; ++k) {
                if (previous.months[k] == current.months[i])
                    months[i] = last->amounts[k];
            }
        }
        comparison.previousMonths.push_back(months);
    }
    return comparison;
}

std::vector<Finding> CheckComparison(const Comparison& comparison) {
    return ComparisonChecker(comparison).Run();
}

} // namespace checker
