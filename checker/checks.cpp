#include "checker/checks.h"

#include "checker/format.h"
#include "texts/checker.h"

#include <cstdlib>
#include <set>

namespace checker {

namespace {

std::int32_t DayBefore(std::int32_t date) {
    int year = date / 10000;
    int month = date / 100 % 100;
    int day = date % 100 - 1;
    if (day == 0) {
        if (--month == 0) {
            month = 12;
            --year;
        }
        day = 31;
        while (!IsDate(year * 10000 + month * 100 + day))
            --day;
    }
    return year * 10000 + month * 100 + day;
}

// The last day of the year that starts on from.
std::int32_t YearEnd(std::int32_t from) {
    std::int32_t sameDay = from + 10000;
    if (!IsDate(sameDay)) // 29 February: the year ends on 28 February
        sameDay = sameDay / 100 * 100 + 1 + 100;
    return DayBefore(sameDay);
}

class Checker {
  public:
    explicit Checker(const Report& report) : report_(report) {}

    std::vector<Finding> Run() {
        allMainEmpty_ = true;
        for (const MainItem& item : report_.mainItems)
            allMainEmpty_ = allMainEmpty_ && !item.amount;
        notWholeYear_ = WhyNotWholeYear(report_);
        for (const Rule* rule : ReportRules())
            Apply(*rule);
        return std::move(findings_);
    }

  private:
    static FindingTerm TermOf(const MainItem& item, int sign) {
        return {sign, item.line, LinePart::kAmount, item.amount};
    }

    // The present terms of a rule, with their signs.
    std::vector<FindingTerm> Terms(const Rule& rule) const {
        std::vector<FindingTerm> terms;
        for (const Term& term : rule.terms) {
            if (const MainItem* item = report_.FindMain(term.tag))
                terms.push_back(TermOf(*item, term.sign));
        }
        return terms;
    }

    static std::int64_t SumOf(const std::vector<FindingTerm>& terms) {
        std::int64_t sum = 0;
        for (const FindingTerm& term : terms)
            sum += term.sign * term.amount.value_or(0);
        return sum;
    }

    Finding& Add(const Rule& rule, std::vector<const FormItem*> lines,
                 std::vector<FindingTerm> terms = {}) {
        Finding finding;
        finding.severity = rule.severity;
        finding.rule = &rule;
        finding.lines = std::move(lines);
        finding.terms = std::move(terms);
        findings_.push_back(std::move(finding));
        return findings_.back();
    }

    // A finding when left and the terms differ by more than one yen per term added.
    void Compare(const Rule& rule, FindingTerm left, std::vector<FindingTerm> terms,
                 int termCount) {
        const std::int64_t difference = left.amount.value_or(0) - SumOf(terms);
        const int tolerance = termCount - 1;
        if (std::llabs(difference) <= tolerance)
            return;
        const FormItem* line = left.line;
        const LinePart part = left.part;
        terms.insert(terms.begin(), left);
        Finding& finding = Add(rule, {line}, std::move(terms));
        finding.part = part;
        finding.difference = difference;
        finding.tolerance = tolerance;
    }

    void Apply(const Rule& rule) {
        switch (rule.kind) {
        case RuleKind::kSum:
            return ApplySum(rule);
        case RuleKind::kPartOf:
            return ApplyPartOf(rule);
        case RuleKind::kMonthlySum:
            return ApplyMonthlySum(rule);
        case RuleKind::kAllMainEmpty:
            if (allMainEmpty_)
                Add(rule, {});
            return;
        case RuleKind::kUsuallyEmpty:
            return ApplyUsuallyEmpty(rule);
        case RuleKind::kEmptyMainItem:
            if (!allMainEmpty_) {
                for (const MainItem& item : report_.mainItems) {
                    if (!item.amount && covered_.count(item.line) == 0)
                        Add(rule, {item.line});
                }
            }
            return;
        case RuleKind::kEmptyMonthlyLine:
        case RuleKind::kEmptyMonth:
            return ApplyEmptyMonthly(rule);
        case RuleKind::kVanished:
        case RuleKind::kAppeared:
        case RuleKind::kSignChanged:
        case RuleKind::kChangedBeyond:
        case RuleKind::kShareMoved:
            return; // comparisons with last year (comparison.cpp)
        }
    }

    void ApplySum(const Rule& rule) {
        const MainItem* left = report_.FindMain(rule.left);
        std::vector<FindingTerm> terms = Terms(rule);
        if (allMainEmpty_ || left == nullptr || terms.empty())
            return;
        const int count = static_cast<int>(terms.size()) + 1;
        Compare(rule, TermOf(*left, 0), std::move(terms), count);
    }

    void ApplyPartOf(const Rule& rule) {
        const MainItem* part = report_.FindMain(rule.left);
        const MainItem* whole = report_.FindMain(rule.terms.front().tag);
        if (part == nullptr || whole == nullptr)
            return;
        const Amount& partAmount = part->amount;
        const Amount& wholeAmount = whole->amount;
        if (!partAmount || !wholeAmount || *partAmount <= 0 || *wholeAmount <= 0 ||
            *partAmount <= *wholeAmount)
            return;
        Add(rule, {part->line}, {TermOf(*part, 0), TermOf(*whole, 0)}).difference =
            *partAmount - *wholeAmount;
    }

    void ApplyMonthlySum(const Rule& rule) {
        const MonthlyRow* row = report_.FindMonthly(rule.left);
        std::vector<FindingTerm> terms = Terms(rule);
        if (allMainEmpty_ || row == nullptr || terms.empty())
            return;
        if (notWholeYear_) {
            Finding& finding = Add(rule, {row->line});
            finding.severity = Severity::kNotApplicable;
            finding.part = LinePart::kTwelveMonths;
            finding.note = *notWholeYear_;
            return;
        }
        FindingTerm left{0, row->line, LinePart::kTwelveMonths, RowTotal(*row).value_or(0)};
        const int count = kMonths + static_cast<int>(terms.size());
        Compare(rule, left, std::move(terms), count);
    }

    void ApplyUsuallyEmpty(const Rule& rule) {
        const MainItem* marker = report_.FindMain(rule.left);
        if (allMainEmpty_ || marker == nullptr || !marker->amount)
            return;
        std::vector<const FormItem*> empty;
        for (const Term& term : rule.terms) {
            const MainItem* item = report_.FindMain(term.tag);
            if (item == nullptr)
                continue;
            if (item->amount)
                return;
            empty.push_back(item->line);
        }
        if (empty.empty())
            return;
        covered_.insert(empty.begin(), empty.end());
        Add(rule, std::move(empty));
    }

    void ApplyEmptyMonthly(const Rule& rule) {
        bool anyFilled = false;
        for (const MonthlyRow& row : report_.monthlyRows) {
            for (const Amount& amount : row.amounts)
                anyFilled = anyFilled || amount.has_value();
        }
        for (const MonthlyRow& row : report_.monthlyRows) {
            int filled = 0;
            for (const Amount& amount : row.amounts)
                filled += amount ? 1 : 0;
            if (rule.kind == RuleKind::kEmptyMonthlyLine) {
                if (filled == 0 && anyFilled)
                    Add(rule, {row.line});
                continue;
            }
            if (filled == 0 || filled == kMonths)
                continue;
            for (int i = 0; i < kMonths; ++i) {
                if (!row.amounts[i]) {
                    Finding& finding = Add(rule, {row.line});
                    finding.month = i;
                    finding.calendarMonth = report_.months[i];
                }
            }
        }
    }

    const Report& report_;
    bool allMainEmpty_ = false;
    std::optional<std::string> notWholeYear_;
    std::set<const FormItem*> covered_; // lines that a usually-empty hint names
    std::vector<Finding> findings_;
};

} // namespace

std::optional<std::string> WhyNotWholeYear(const Report& report) {
    if (!IsDate(report.periodFrom) || !IsDate(report.periodTo))
        return std::string(texts::kNotWholeYearNoDates);
    if (YearEnd(report.periodFrom) != report.periodTo)
        return Fill(texts::kNotWholeYearLength, {{"period", PeriodText(report)}});
    if (report.months[0] != report.periodFrom / 100 % 100)
        return Fill(texts::kNotWholeYearFirstMonth, {{"month", std::to_string(report.months[0])}});
    return std::nullopt;
}

std::vector<Finding> CheckReport(const Report& report) {
    return Checker(report).Run();
}

int CountOf(const std::vector<Finding>& findings, Severity severity) {
    int count = 0;
    for (const Finding& finding : findings)
        count += finding.severity == severity ? 1 : 0;
    return count;
}

std::vector<const FormItem*> ButtonsOf(const Finding& finding) {
    std::vector<const FormItem*> buttons;
    const auto add = [&buttons](const FormItem* line) {
        if (line != nullptr && line->button) {
            for (const FormItem* known : buttons) {
                if (known == line)
                    return;
            }
            buttons.push_back(line);
        }
    };
    for (const FindingTerm& term : finding.terms)
        add(term.line);
    for (const FormItem* line : finding.lines)
        add(line);
    return buttons;
}

} // namespace checker
