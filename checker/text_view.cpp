#include "checker/format.h"
#include "checker/views.h"
#include "texts/checker.h"

#include <algorithm>

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

std::string Header(const CheckedReport& checked) {
    const Report& report = checked.report;
    std::string out = Fill(texts::kReportHeading, {{"source", checked.source}}) + "\n";
    Table header({Align::kLeft, Align::kLeft});
    header.Row({texts::kCompanyLabel, report.company});
    header.Row({texts::kPeriodLabel, PeriodText(report)});
    header.Row({texts::kProgramLabel, ProgramText(report)});
    header.Row({texts::kFunctionIdLabel, std::to_string(report.functionId)});
    header.Row({texts::kFormLabel, FormText(report.form)});
    return out + header.Text("  ");
}

std::string MainItems(const Report& report, bool verbose) {
    std::string out = std::string("\n") + texts::kMainItemsHeading + "\n";
    Table main(verbose
                   ? std::vector<Align>{Align::kRight, Align::kLeft, Align::kLeft, Align::kRight}
                   : std::vector<Align>{Align::kRight, Align::kLeft, Align::kRight});
    const auto row = [&](std::string lineNo, std::string caption, std::string tag,
                         std::string amount) {
        if (verbose)
            main.Row({std::move(lineNo), std::move(caption), std::move(tag), std::move(amount)});
        else
            main.Row({std::move(lineNo), std::move(caption), std::move(amount)});
    };
    row(texts::kLineColumn, texts::kCaptionColumn, texts::kTagColumn, texts::kAmountColumn);
    for (const MainItem& item : report.mainItems)
        row(std::to_string(item.line->lineNo), item.line->caption, item.line->tag,
            AmountText(item.amount));
    return out + main.Text("  ");
}

std::string MonthlyItems(const Report& report) {
    std::string out = std::string("\n") + texts::kMonthlyHeading + "\n";
    std::vector<Align> aligns(report.monthlyRows.size() + 1, Align::kRight);
    aligns[0] = Align::kLeft;
    Table monthly(aligns);
    std::vector<std::string> names = {texts::kMonthColumn};
    for (const MonthlyRow& row : report.monthlyRows)
        names.push_back(row.line->caption);
    monthly.Row(names);
    for (int i = 0; i < kMonths; ++i) {
        std::vector<std::string> cells = {MonthText(report.months[i])};
        for (const MonthlyRow& row : report.monthlyRows)
            cells.push_back(AmountText(row.amounts[i]));
        monthly.Row(cells);
    }
    std::vector<std::string> totals = {texts::kTotalRow};
    for (const MonthlyRow& row : report.monthlyRows)
        totals.push_back(AmountText(RowTotal(row)));
    monthly.Row(totals);
    return out + monthly.Text("  ");
}

std::string ComparedLines(const char* heading, const std::vector<ComparedLine>& lines) {
    std::string out = std::string("\n") + heading + "\n";
    Table table({Align::kLeft, Align::kRight, Align::kRight, Align::kRight, Align::kRight});
    table.Row(ComparedColumns());
    for (const ComparedLine& line : lines)
        table.Row(ComparedCells(line));
    return out + table.Text("  ");
}

std::string FindingsText(const std::vector<Finding>& findings, bool verbose) {
    std::string out = "\n" + SummaryText(findings) + "\n";
    for (const Finding& finding : findings) {
        out += FindingLine(finding) + "\n";
        if (finding.note.empty())
            out += std::string("    ") + texts::kAdviceLabel + AdviceText(finding) + "\n";
        Table terms({Align::kLeft, Align::kLeft, Align::kRight});
        for (std::size_t i = 0; i < finding.terms.size(); ++i) {
            const FindingTerm& term = finding.terms[i];
            terms.Row({TermMark(finding, i), TermText(term),
                       term.amount ? WithSeparators(*term.amount) : texts::kEmptyAmount});
        }
        out += terms.Text("    ");
        if (finding.difference && finding.measure.empty())
            out += "    " + DifferenceText(finding) + "\n";
        if (!finding.measure.empty())
            out += "    " + finding.measure + "\n";
        if (verbose)
            out += std::string("    ") + texts::kTagsLabel + TagsText(finding) + "\n";
    }
    return out;
}

} // namespace

std::string TextView(const CheckedReport& checked, const Comparison* comparison, bool verbose) {
    std::string out =
        Header(checked) + MainItems(checked.report, verbose) + MonthlyItems(checked.report);
    if (comparison != nullptr) {
        out += "\n" +
               Fill(texts::kComparisonHeading, {{"period", PeriodText(*comparison->previous)}}) +
               "\n";
        out += ComparedLines(texts::kMainItemsHeading, comparison->mainItems);
        out += ComparedLines(texts::kMonthlyTotalsHeading, comparison->monthlyTotals);
    }
    return out + FindingsText(checked.findings, verbose);
}

std::string SummaryTextView(const std::vector<SummaryRow>& rows) {
    Table table({Align::kLeft, Align::kLeft, Align::kLeft, Align::kLeft, Align::kRight,
                 Align::kRight, Align::kRight, Align::kRight, Align::kLeft});
    table.Row(SummaryColumns());
    for (const SummaryRow& row : rows)
        table.Row(SummaryCells(row));
    return table.Text("");
}

} // namespace checker
