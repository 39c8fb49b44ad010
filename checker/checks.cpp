#include "checker/checks.h"

#include "checker/format.h"

#include <cstdlib>
#include <map>

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
    explicit Checker(const Report& report) : report_(report) {
        for (const MainItem& item : report.mainItems)
            main_.emplace(item.line->tag, &item);
        for (const MonthlyRow& row : report.monthlyRows)
            monthly_.emplace(row.line->tag, &row);
    }

    std::vector<Finding> Run() {
        allMainEmpty_ = true;
        for (const MainItem& item : report_.mainItems)
            allMainEmpty_ = allMainEmpty_ && !item.amount;
        wholeYear_ = CoversWholeYear(report_, notWholeYear_);
        for (const Rule* rule : RulesFor(report_.newForm))
            Apply(*rule);
        return std::move(findings_);
    }

  private:
    static std::string Subject(const CatalogueLine& line) {
        return line.name + " (" + line.tag + ")";
    }

    FindingTerm TermOf(const MainItem& item, int sign) {
        return {sign, item.line->name, item.line->tag, item.amount};
    }

    // The present terms of a rule, with their signs.
    std::vector<FindingTerm> Terms(const Rule& rule) {
        std::vector<FindingTerm> terms;
        for (const Term& term : rule.terms) {
            const auto it = main_.find(term.tag);
            if (it != main_.end())
                terms.push_back(TermOf(*it->second, term.sign));
        }
        return terms;
    }

    static std::int64_t SumOf(const std::vector<FindingTerm>& terms) {
        std::int64_t sum = 0;
        for (const FindingTerm& term : terms)
            sum += term.sign * term.amount.value_or(0);
        return sum;
    }

    void Add(const Rule& rule, Severity severity, std::string subject,
             std::vector<FindingTerm> terms = {}) {
        Finding finding;
        finding.severity = severity;
        finding.rule = &rule;
        finding.subject = std::move(subject);
        finding.terms = std::move(terms);
        findings_.push_back(std::move(finding));
    }

    // A finding when left and the terms differ by more than one yen per term added.
    void Compare(const Rule& rule, std::string subject, FindingTerm left,
                 std::vector<FindingTerm> terms, int termCount) {
        const std::int64_t difference = left.amount.value_or(0) - SumOf(terms);
        const int tolerance = termCount - 1;
        if (std::llabs(difference) <= tolerance)
            return;
        terms.insert(terms.begin(), std::move(left));
        Add(rule, Severity::kFinding, std::move(subject), std::move(terms));
        findings_.back().difference = difference;
        findings_.back().tolerance = tolerance;
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
                Add(rule, Severity::kFinding, u8"主要科目");
            return;
        case RuleKind::kEmptyMainItem:
            if (!allMainEmpty_) {
                for (const MainItem& item : report_.mainItems) {
                    if (!item.amount)
                        Add(rule, Severity::kHint, Subject(*item.line));
                }
            }
            return;
        case RuleKind::kEmptyMonthlyLine:
        case RuleKind::kEmptyMonth:
            return ApplyEmptyMonthly(rule);
        }
    }

    void ApplySum(const Rule& rule) {
        const auto left = main_.find(rule.left);
        std::vector<FindingTerm> terms = Terms(rule);
        if (allMainEmpty_ || left == main_.end() || terms.empty())
            return;
        const int count = static_cast<int>(terms.size()) + 1;
        Compare(rule, Subject(*left->second->line), TermOf(*left->second, 0), std::move(terms),
                count);
    }

    void ApplyPartOf(const Rule& rule) {
        const auto part = main_.find(rule.left);
        const auto whole = main_.find(rule.terms.front().tag);
        if (part == main_.end() || whole == main_.end())
            return;
        const Amount& p = part->second->amount;
        const Amount& w = whole->second->amount;
        if (!p || !w || *p <= 0 || *w <= 0 || *p <= *w)
            return;
        Add(rule, Severity::kFinding, Subject(*part->second->line),
            {TermOf(*part->second, 0), TermOf(*whole->second, 0)});
        findings_.back().difference = *p - *w;
    }

    void ApplyMonthlySum(const Rule& rule) {
        const auto row = monthly_.find(rule.left);
        std::vector<FindingTerm> terms = Terms(rule);
        if (allMainEmpty_ || row == monthly_.end() || terms.empty())
            return;
        const std::string subject = Subject(*row->second->line) + u8" 12 か月の計";
        if (!wholeYear_) {
            Add(rule, Severity::kNotApplicable, subject);
            findings_.back().note = notWholeYear_;
            return;
        }
        std::int64_t total = 0;
        for (const Amount& amount : row->second->amounts)
            total += amount.value_or(0);
        FindingTerm left{0, row->second->line->name + u8" 12 か月の計",
                         row->second->line->tag + "01-12", total};
        const int count = kMonths + static_cast<int>(terms.size());
        Compare(rule, subject, std::move(left), std::move(terms), count);
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
                    Add(rule, Severity::kHint, Subject(*row.line));
                continue;
            }
            if (filled == 0 || filled == kMonths)
                continue;
            for (int i = 0; i < kMonths; ++i) {
                if (!row.amounts[i])
                    Add(rule, Severity::kHint,
                        Subject(*row.line) + " " + std::to_string(report_.months[i]) + u8"月");
            }
        }
    }

    const Report& report_;
    std::map<std::string, const MainItem*> main_;
    std::map<std::string, const MonthlyRow*> monthly_;
    bool allMainEmpty_ = false;
    bool wholeYear_ = false;
    std::string notWholeYear_;
    std::vector<Finding> findings_;
};

} // namespace

bool CoversWholeYear(const Report& report, std::string& why) {
    if (!IsDate(report.periodFrom) || !IsDate(report.periodTo)) {
        why = u8"事業年度の日付 (JIGYOUNENDOFROM, JIGYOUNENDOTO) "
              u8"が暦の日付ではないため、照合しません。";
        return false;
    }
    if (YearEnd(report.periodFrom) != report.periodTo) {
        why = u8"事業年度 " + DateText(report.periodFrom) + u8"～" + DateText(report.periodTo) +
              u8" が 1 年ちょうどではないため、照合しません。";
        return false;
    }
    if (report.months[0] != report.periodFrom / 100 % 100) {
        why = u8"月別の 1 か月目 (TUKIBETU_01) が " + std::to_string(report.months[0]) +
              u8" 月で、事業年度の初めの月ではないため、照合しません。";
        return false;
    }
    why.clear();
    return true;
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

} // namespace checker
