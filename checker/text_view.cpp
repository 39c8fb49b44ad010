#include "checker/format.h"
#include "checker/views.h"

namespace checker {

namespace {

enum class Align { kLeft, kRight };

std::string Pad(const std::string& text, std::size_t width, Align align) {
    const std::size_t used = DisplayWidth(text);
    const std::string fill(width > used ? width - used : 0, ' ');
    return align == Align::kLeft ? text + fill : fill + text;
}

// A table whose columns are as wide as their widest cell.
class Table {
  public:
    explicit Table(std::vector<Align> aligns) : aligns_(std::move(aligns)) {}

    void Row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

    std::string Text(const std::string& indent) const {
        std::vector<std::size_t> widths(aligns_.size(), 0);
        for (const auto& row : rows_) {
            for (std::size_t i = 0; i < row.size(); ++i)
                widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
        std::string out;
        for (const auto& row : rows_) {
            std::string line = indent;
            for (std::size_t i = 0; i < row.size(); ++i)
                line += (i > 0 ? "  " : "") + Pad(row[i], widths[i], aligns_[i]);
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out += line + "\n";
        }
        return out;
    }

  private:
    std::vector<Align> aligns_;
    std::vector<std::vector<std::string>> rows_;
};

} // namespace

std::string FormText(bool newForm) {
    return newForm ? u8"\"30\"（平成30年4月1日以後に終了する事業年度の様式）"
                   : u8"\"16\"（平成30年3月31日以前に終了する事業年度の様式）";
}

std::string ProgramText(const Report& report) {
    return report.programName + " " + report.programVersion + u8"（連動プログラム " +
           report.connectedVersion + u8"）";
}

std::string PeriodText(const Report& report) {
    return DateText(report.periodFrom) + u8"～" + DateText(report.periodTo);
}

std::string MonthText(int month) {
    return std::to_string(month) + u8"月";
}

std::string SeverityText(Severity severity) {
    switch (severity) {
    case Severity::kFinding:
        return u8"指摘";
    case Severity::kHint:
        return u8"参考";
    case Severity::kNotApplicable:
        return u8"対象外";
    }
    return {};
}

std::string SummaryText(const std::vector<Finding>& findings) {
    const int count = CountOf(findings, Severity::kFinding);
    const int hints = CountOf(findings, Severity::kHint);
    std::string text = count == 0 ? u8"指摘はありません。"
                                  : u8"指摘が " + std::to_string(count) + u8" 件あります。";
    if (hints > 0)
        text += u8"参考 " + std::to_string(hints) + u8" 件。";
    return text;
}

std::string DifferenceText(const Finding& finding) {
    if (!finding.difference)
        return {};
    std::string text = u8"差額 " + WithSeparators(*finding.difference) + u8" 円";
    if (finding.tolerance > 0)
        text +=
            u8"（端数の切り捨てを見込んで " + std::to_string(finding.tolerance) + u8" 円まで許容）";
    return text;
}

std::string TermMark(const Finding& finding, std::size_t index) {
    if (index == 0)
        return {};
    if (finding.rule->kind == RuleKind::kPartOf)
        return "<=";
    const int sign = finding.terms[index].sign;
    if (index == 1)
        return sign < 0 ? "= -" : "=";
    return sign < 0 ? "-" : "+";
}

Amount RowTotal(const MonthlyRow& row) {
    Amount total;
    for (const Amount& amount : row.amounts) {
        if (amount)
            total = total.value_or(0) + *amount;
    }
    return total;
}

std::string TextView(const std::string& source, const Report& report,
                     const std::vector<Finding>& findings) {
    std::string out = u8"事業概況書 " + source + "\n";
    Table header({Align::kLeft, Align::kLeft});
    header.Row({u8"会社名", report.company});
    header.Row({u8"事業年度", PeriodText(report)});
    header.Row({u8"作成", ProgramText(report)});
    header.Row({u8"機能 ID", std::to_string(report.functionId)});
    header.Row({u8"様式", FormText(report.newForm)});
    out += header.Text("  ");

    out += u8"\n主要科目\n";
    Table main({Align::kRight, Align::kLeft, Align::kLeft, Align::kRight});
    main.Row({u8"行", u8"科目", u8"要素名", u8"金額（円）"});
    for (const MainItem& item : report.mainItems)
        main.Row({std::to_string(item.line->lineNo), item.line->name, item.line->tag,
                  AmountText(item.amount)});
    out += main.Text("  ");

    out += u8"\n月別売上等（円）\n";
    std::vector<Align> aligns(report.monthlyRows.size() + 1, Align::kRight);
    aligns[0] = Align::kLeft;
    Table monthly(aligns);
    std::vector<std::string> names = {u8"月"};
    for (const MonthlyRow& row : report.monthlyRows)
        names.push_back(row.line->name);
    monthly.Row(names);
    for (int i = 0; i < kMonths; ++i) {
        std::vector<std::string> cells = {MonthText(report.months[i])};
        for (const MonthlyRow& row : report.monthlyRows)
            cells.push_back(AmountText(row.amounts[i]));
        monthly.Row(cells);
    }
    std::vector<std::string> totals = {u8"計"};
    for (const MonthlyRow& row : report.monthlyRows)
        totals.push_back(AmountText(RowTotal(row)));
    monthly.Row(totals);
    out += monthly.Text("  ");

    out += "\n" + SummaryText(findings) + "\n";
    for (const Finding& finding : findings) {
        out += "[" + SeverityText(finding.severity) + "] " + finding.subject + ": " +
               (finding.note.empty() ? finding.rule->wording : finding.note) + "\n";
        Table terms({Align::kLeft, Align::kLeft, Align::kRight});
        for (std::size_t i = 0; i < finding.terms.size(); ++i) {
            const FindingTerm& term = finding.terms[i];
            terms.Row({TermMark(finding, i), term.name + " (" + term.tag + ")",
                       term.amount ? WithSeparators(*term.amount) : u8"（空欄）"});
        }
        out += terms.Text("    ");
        if (finding.difference)
            out += "    " + DifferenceText(finding) + "\n";
    }
    return out;
}

} // namespace checker
