// The pages: everything inline (style, chart), so they open anywhere, print on A4 (a report's
// page portrait, the summary landscape) and load nothing. A content security policy that allows no
// source makes any later addition of an outside resource fail loudly in the browser's console.
#include "checker/format.h"
#include "checker/views.h"
#include "texts/checker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace checker {

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Windows' Japanese fonts first (the page is read and printed there), then the Linux ones.
const char kStyle[] = R"(
@page { size: A4 portrait; margin: 11mm 12mm; }
* { box-sizing: border-box; }
body { font-family: "Yu Gothic", YuGothic, Meiryo, "MS PGothic", "IPAPGothic", "IPAexGothic",
       "Noto Sans CJK JP", "IPAGothic", sans-serif; font-size: 8.5pt; line-height: 1.25;
       color: #1d1d1d; margin: 0 auto; max-width: 186mm; padding: 4mm 0; background: #fff; }
h1 { font-size: 14pt; margin: 0 0 1.5mm; }
h1 .what { font-size: 10.5pt; font-weight: normal; margin-left: 3mm; }
h2 { font-size: 10pt; margin: 2.2mm 0 1mm; padding-bottom: 0.4mm;
     border-bottom: 1.5px solid #35507a; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #b9c1cc; padding: 0 1.5mm; font-size: 8pt; line-height: 1.2; }
th { background: #e8edf4; font-weight: bold; text-align: center; }
td.num, td.amount { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
tr.total td { font-weight: bold; border-top: 1.5px solid #35507a; }
.columns { display: flex; gap: 4mm; align-items: flex-start; }
.columns > table { flex: 1; }
table.header { width: 100%; margin-bottom: 1mm; }
table.header th { text-align: left; white-space: nowrap; width: 1%; }
table.header td, table.header th { border: none; padding: 0.1mm 3mm 0.1mm 0; background: none; }
.summary { margin: 1.5mm 0; padding: 1.2mm 3mm; border-radius: 1.5mm; font-weight: bold; }
.summary.clean { background: #e3f3e5; border: 1px solid #6bb372; }
.summary.findings { background: #fbe7e4; border: 1px solid #d0705f; }
.finding { margin: 1mm 0; padding: 0.5mm 3mm; font-size: 8pt; border-left: 3px solid #d0705f; break-inside: avoid; }
.finding.hint { border-left-color: #d6a536; }
.finding.not-applicable { border-left-color: #9aa3ad; }
.finding .advice { margin-top: 0.4mm; }
.finding table { width: auto; margin-top: 0.4mm; }
.finding td { border: none; padding: 0 3mm 0 0; }
.label { font-weight: bold; margin-right: 2mm; }
a.note { font-size: 7pt; margin-left: 1.5mm; color: #35507a; }
p.notes { margin: 0; font-size: 7pt; color: #444; }
p.notes span { font-family: monospace; margin-right: 4mm; white-space: nowrap; }
section#main-items, section#monthly { break-inside: avoid; }
section.sheet-break { break-before: page; }
svg { display: block; width: 100%; height: auto; margin-top: 1.5mm; }
svg text { font-family: inherit; font-size: 11px; fill: #333; }
)";

const char kWideStyle[] = R"(
@page { size: A4 landscape; }
body { max-width: 273mm; }
table.summary-table td { white-space: nowrap; }
table.summary-table td:last-child { white-space: normal; }
)";

const char* const kColours[] = {"#3b6fb6", "#e07b39", "#4f9d69", "#b8568f",
                                "#8c6d31", "#5d5fa8", "#2f9aa0", "#a84343"};
constexpr int kSeriesStyles = 8;

// The line drawing over a series' colour, one of its own for each series, so that the bars can
// be told apart when printed in black and white: none, diagonal, dots, horizontal, cross,
// vertical, the other diagonal, grid.
const char* const kHatches[] = {
    "",
    "<path d=\"M-1,1 l2,-2 M0,6 l6,-6 M5,7 l2,-2\" stroke-width=\"1.4\"/>",
    "<circle cx=\"3\" cy=\"3\" r=\"1.1\" stroke-width=\"0\" fill=\"HATCH\"/>",
    "<path d=\"M0,3 h6\" stroke-width=\"1.4\"/>",
    "<path d=\"M0,0 l6,6 M6,0 l-6,6\" stroke-width=\"1\"/>",
    "<path d=\"M3,0 v6\" stroke-width=\"1.4\"/>",
    "<path d=\"M-1,5 l2,2 M0,0 l6,6 M5,-1 l2,2\" stroke-width=\"1.4\"/>",
    "<path d=\"M0,3 h6 M3,0 v6\" stroke-width=\"0.9\"/>",
};

std::string Cell(const std::string& text, const char* cls = nullptr) {
    return std::string("<td") + (cls != nullptr ? std::string(" class=\"") + cls + "\"" : "") +
           ">" + Escape(text) + "</td>";
}

std::string HeadCell(const std::string& text) {
    return "<th>" + Escape(text) + "</th>";
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    return buffer;
}

// A step of 1, 2 or 5 times a power of ten that splits span into at most about five parts.
double NiceStep(double span) {
    const double raw = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw)
            return factor * power;
    }
    return 10 * power;
}

// The fills of series i: this year's (the colour with white lines) and last year's (white with
// lines of the colour), as SVG patterns.
std::string SeriesPatterns(std::size_t count) {
    std::string defs = "<defs>\n";
    for (std::size_t i = 0; i < count; ++i) {
        const std::string colour = kColours[i % kSeriesStyles];
        std::string hatch = kHatches[i % kSeriesStyles];
        for (const bool last : {false, true}) {
            std::string lines = hatch;
            const std::string ink = last ? colour : "#ffffff";
            const std::size_t at = lines.find("HATCH");
            if (at != std::string::npos)
                lines.replace(at, 5, ink);
            // A solid series is dotted on white for last year.
            if (last && lines.empty())
                lines = "<circle cx=\"3\" cy=\"3\" r=\"0.8\" fill=\"" + colour +
                        "\" stroke-width=\"0\"/>";
            defs += "<pattern id=\"series-" + std::to_string(i) + (last ? "-last" : "");
            defs += "\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\"><rect width=\"6\" "
                    "height=\"6\" fill=\"";
            defs += last ? "#ffffff" : colour;
            defs += "\"/><g stroke=\"" + ink + "\">";
            defs += lines;
            defs += "</g></pattern>\n";
        }
    }
    return defs + "</defs>\n";
}

struct Series {
    const MonthlyRow* row;
    const std::array<Amount, kMonths>* previous; // null without a comparison
};

// Grouped bars: one group per month in the report's order, one bar per monthly line that has
// any amount (with last year's bar beside it in a comparison); a legend above, the zero line
// and gridlines with their amounts on the left.
std::string Chart(const Report& report, const Comparison* comparison) {
    std::vector<Series> series;
    for (std::size_t i = 0; i < report.monthlyRows.size(); ++i) {
        const MonthlyRow& row = report.monthlyRows[i];
        const std::array<Amount, kMonths>* previous =
            comparison != nullptr ? &comparison->previousMonths[i] : nullptr;
        bool anyPrevious = false;
        for (int month = 0; previous != nullptr && month < kMonths; ++month)
            anyPrevious = anyPrevious || (*previous)[month].has_value();
        if (RowTotal(row) || anyPrevious)
            series.push_back({&row, previous});
    }
    const double width = 700;
    const double height = comparison != nullptr ? 250 : 165;
    const double left = 90;
    const double right = 6;
    const double legendRows =
        std::ceil(static_cast<double>(series.size() + (comparison != nullptr ? 2 : 0)) / 4);
    const double top = 14 + 16 * legendRows;
    const double bottom = 20;
    std::string svg = "<svg id=\"monthly-chart\" viewBox=\"0 0 " + Number(width) + " " +
                      Number(height) + "\" role=\"img\" aria-label=\"" +
                      Escape(texts::kChartLabel) + "\">\n";
    if (series.empty())
        return svg + "<text x=\"" + Number(width / 2) + "\" y=\"" + Number(height / 2) +
               "\" text-anchor=\"middle\">" + Escape(texts::kChartEmpty) + "</text>\n</svg>\n";
    svg += SeriesPatterns(series.size());

    double max = 0;
    double min = 0;
    const auto widen = [&](const Amount& amount) {
        max = std::max(max, static_cast<double>(amount.value_or(0)));
        min = std::min(min, static_cast<double>(amount.value_or(0)));
    };
    for (const Series& one : series) {
        for (int month = 0; month < kMonths; ++month) {
            widen(one.row->amounts[month]);
            if (one.previous != nullptr)
                widen((*one.previous)[month]);
        }
    }
    const double step = NiceStep(max - min > 0 ? max - min : 1);
    max = std::ceil(max / step) * step;
    min = std::floor(min / step) * step;
    if (max == min)
        max = min + step;
    const double plotHeight = height - top - bottom;
    const auto y = [&](double value) { return top + (max - value) / (max - min) * plotHeight; };

    std::vector<std::pair<std::string, std::string>> legend; // fill, text
    for (std::size_t i = 0; i < series.size(); ++i)
        legend.push_back({"url(#series-" + std::to_string(i) + ")", series[i].row->line->caption});
    if (comparison != nullptr) {
        legend.push_back({"#555555", texts::kChartThisYear});
        legend.push_back({"url(#series-0-last)", texts::kChartLastYear});
    }
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const double x = left + static_cast<double>(i % 4) * 150;
        const double ly = 6 + 16 * std::floor(static_cast<double>(i) / 4);
        svg += "<rect x=\"" + Number(x) + "\" y=\"" + Number(ly) +
               "\" width=\"14\" height=\"11\" stroke=\"#333\" stroke-width=\"0.6\" fill=\"" +
               legend[i].first + "\"/><text x=\"" + Number(x + 18) + "\" y=\"" + Number(ly + 9.5) +
               "\">" + Escape(legend[i].second) + "</text>\n";
    }
    for (double value = min; value <= max + step / 2; value += step) {
        svg += "<line x1=\"" + Number(left) + "\" x2=\"" + Number(width - right) + "\" y1=\"" +
               Number(y(value)) + "\" y2=\"" + Number(y(value)) + "\" stroke=\"" +
               (value == 0 ? "#555" : "#dde2e8") + "\" stroke-width=\"1\"/>";
        svg += "<text x=\"" + Number(left - 6) + "\" y=\"" + Number(y(value) + 4) +
               "\" text-anchor=\"end\">" +
               WithSeparators(static_cast<std::int64_t>(std::llround(value))) + "</text>\n";
    }
    const double groupWidth = (width - left - right) / kMonths;
    const double perSeries = comparison != nullptr ? 2 : 1;
    const double barWidth = groupWidth * 0.84 / (static_cast<double>(series.size()) * perSeries);
    const auto bar = [&](double x, const Amount& amount, const std::string& fill, const char* cls,
                         const std::string& title) {
        const double value = static_cast<double>(*amount);
        const double y0 = y(std::max(value, 0.0));
        const double y1 = y(std::min(value, 0.0));
        return "<rect class=\"" + std::string(cls) + "\" x=\"" + Number(x) + "\" y=\"" +
               Number(y0) + "\" width=\"" + Number(barWidth * 0.92) + "\" height=\"" +
               Number(std::max(y1 - y0, 0.5)) + "\" fill=\"" + fill +
               "\" stroke=\"#333\" stroke-width=\"0.4\"><title>" + Escape(title) +
               "</title></rect>\n";
    };
    for (int month = 0; month < kMonths; ++month) {
        const double groupX = left + groupWidth * month + groupWidth * 0.08;
        for (std::size_t i = 0; i < series.size(); ++i) {
            const std::string id = "url(#series-" + std::to_string(i);
            const double x = groupX + barWidth * perSeries * static_cast<double>(i);
            const std::string name =
                MonthText(report.months[month]) + " " + series[i].row->line->caption;
            if (series[i].previous != nullptr && (*series[i].previous)[month])
                svg += bar(x, (*series[i].previous)[month], id + "-last)", "bar-last",
                           name + " " + texts::kLastYearPart + " " +
                               WithSeparators(*(*series[i].previous)[month]));
            const Amount& amount = series[i].row->amounts[month];
            if (amount)
                svg += bar(x + barWidth * (perSeries - 1), amount, id + ")", "bar",
                           name + " " + WithSeparators(*amount));
        }
        svg += "<text x=\"" + Number(left + groupWidth * (month + 0.5)) + "\" y=\"" +
               Number(height - 6) + "\" text-anchor=\"middle\">" + MonthText(report.months[month]) +
               "</text>\n";
    }
    return svg + "</svg>\n";
}

std::string FindingsHtml(const std::vector<Finding>& findings) {
    std::string html;
    int note = 0;
    for (const Finding& finding : findings) {
        const char* cls = finding.severity == Severity::kFinding ? "finding"
                          : finding.severity == Severity::kHint  ? "finding hint"
                                                                 : "finding not-applicable";
        const std::string noteId = std::to_string(++note);
        html += std::string("<div class=\"") + cls + "\" data-rule=\"" + finding.rule->id +
                "\"><span class=\"label\">[" + Escape(SeverityText(finding.severity)) + "]</span>" +
                Escape(SubjectText(finding)) + ": " + Escape(WordingText(finding)) +
                "<a class=\"note\" href=\"#note-" + noteId + "\">" +
                Escape(Fill(texts::kNoteMark, {{"number", noteId}})) + "</a>";
        if (finding.note.empty())
            html += "<div class=\"advice\">" + Escape(texts::kAdviceLabel + AdviceText(finding)) +
                    "</div>";
        if (!finding.terms.empty()) {
            html += "<table>";
            for (std::size_t i = 0; i < finding.terms.size(); ++i) {
                const FindingTerm& term = finding.terms[i];
                html += "<tr>" + Cell(TermMark(finding, i)) + Cell(TermText(term)) +
                        Cell(term.amount ? WithSeparators(*term.amount) : texts::kEmptyAmount,
                             "amount") +
                        "</tr>";
            }
            html += "</table>";
        }
        if (!finding.measure.empty())
            html += "<div>" + Escape(finding.measure) + "</div>";
        else if (finding.difference)
            html += "<div>" + Escape(DifferenceText(finding)) + "</div>";
        html += "</div>\n";
    }
    return html;
}

std::string Footnotes(const std::vector<Finding>& findings) {
    if (findings.empty())
        return {};
    std::string html = std::string("<section id=\"notes\">\n<h2>") + Escape(texts::kNotesHeading) +
                       "</h2>\n<p class=\"notes\">";
    int note = 0;
    for (const Finding& finding : findings) {
        const std::string number = std::to_string(++note);
        html += "<span id=\"note-" + number + "\">" +
                Escape(Fill(texts::kNoteMark, {{"number", number}}) + " " + TagsText(finding)) +
                "</span> ";
    }
    return html + "</p>\n</section>\n";
}

std::string MainItemsTable(const std::vector<MainItem>& items, std::size_t from, std::size_t to) {
    std::string html = "<table>\n<tr>" + HeadCell(texts::kLineColumn) +
                       HeadCell(texts::kCaptionColumn) + HeadCell(texts::kAmountColumn) + "</tr>\n";
    for (std::size_t i = from; i < to; ++i)
        html += "<tr>" + Cell(std::to_string(items[i].line->lineNo), "num") +
                Cell(items[i].line->caption) + Cell(AmountText(items[i].amount), "amount") +
                "</tr>\n";
    return html + "</table>\n";
}

// The main items as the form sets them out: the income statement on the left, the balance
// sheet (from the total assets on) on the right.
std::string MainItems(const Report& report) {
    const std::vector<MainItem>& items = report.mainItems;
    std::size_t split = (items.size() + 1) / 2;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].line->tag == "SISAN")
            split = i;
    }
    return "<section id=\"main-items\">\n<h2>" + Escape(texts::kMainItemsHeading) +
           "</h2>\n<div class=\"columns\">\n" + MainItemsTable(items, 0, split) +
           MainItemsTable(items, split, items.size()) + "</div>\n</section>\n";
}

std::string ComparedTable(const std::vector<ComparedLine>& lines) {
    std::string html = "<table class=\"compared\">\n<tr>";
    for (const std::string& column : ComparedColumns())
        html += HeadCell(column);
    html += "</tr>\n";
    // The caption, then amounts.
    for (const ComparedLine& line : lines) {
        const std::vector<std::string> cells = ComparedCells(line);
        html += "<tr>";
        for (std::size_t i = 0; i < cells.size(); ++i)
            html += i == 0 ? Cell(cells[i]) : Cell(cells[i], "amount");
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string MonthlyTable(const Report& report) {
    std::string html = "<table>\n<tr>" + HeadCell(texts::kMonthColumn);
    for (const MonthlyRow& row : report.monthlyRows)
        html += HeadCell(row.line->caption);
    html += "</tr>\n";
    for (int month = 0; month < kMonths; ++month) {
        html += "<tr>" + Cell(MonthText(report.months[month]), "num");
        for (const MonthlyRow& row : report.monthlyRows)
            html += Cell(AmountText(row.amounts[month]), "amount");
        html += "</tr>\n";
    }
    html += "<tr class=\"total\">" + Cell(texts::kTotalRow, "num");
    for (const MonthlyRow& row : report.monthlyRows)
        html += Cell(AmountText(RowTotal(row)), "amount");
    return html + "</tr>\n</table>\n";
}

// The head of a page; a wide page (the summary's table) is laid out for A4 landscape.
std::string PageHead(const std::string& title, bool wide) {
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "style-src 'unsafe-inline'\">\n<title>" +
           Escape(title) + "</title>\n<style>" + kStyle + (wide ? kWideStyle : "") +
           "</style>\n</head>\n<body>\n";
}

// Label and value pairs, two pairs a row.
std::string HeaderTable(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string html = "<table class=\"header\">\n";
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        html += "<tr>" + HeadCell(pairs[i].first) + Cell(pairs[i].second);
        if (i + 1 < pairs.size())
            html += HeadCell(pairs[i + 1].first) + Cell(pairs[i + 1].second);
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

void AddStamp(const PageStamp& stamp, std::vector<std::pair<std::string, std::string>>& pairs) {
    pairs.push_back({texts::kCheckedAtLabel, stamp.checkedAt});
    pairs.push_back(
        {texts::kCheckerLabel, Fill(texts::kCheckerVersion, {{"version", stamp.version}})});
}

} // namespace

std::string HtmlView(const CheckedReport& checked, const Comparison* comparison,
                     const PageStamp& stamp) {
    const Report& report = checked.report;
    const std::vector<Finding>& findings = checked.findings;
    const bool clean = CountOf(findings, Severity::kFinding) == 0;
    std::string html = PageHead(
        texts::kPageTitle + std::string(" ") + report.company + " " + PeriodText(report), false);

    html += "<header>\n<h1>" + Escape(texts::kPageTitle) + "<span class=\"what\">" +
            Escape(report.company) + "</span><span class=\"what\">" + Escape(PeriodText(report)) +
            "</span></h1>\n";
    std::vector<std::pair<std::string, std::string>> pairs = {
        {texts::kCompanyLabel, report.company},
        {texts::kPeriodLabel, PeriodText(report)},
        {texts::kProgramLabel, ProgramText(report)},
        {texts::kFormLabel, FormText(report.form)},
        {texts::kFileLabel, checked.source},
        {texts::kFunctionIdLabel, std::to_string(report.functionId)}};
    if (comparison != nullptr) {
        pairs.push_back({texts::kPreviousLabel, PeriodText(*comparison->previous)});
        pairs.push_back({texts::kPreviousCompanyLabel, comparison->previous->company});
    }
    AddStamp(stamp, pairs);
    html += HeaderTable(pairs) + "<div id=\"summary\" class=\"summary " +
            std::string(clean ? "clean" : "findings") + "\">" + Escape(SummaryText(findings)) +
            "</div>\n</header>\n";

    if (comparison == nullptr) {
        html += MainItems(report);
    } else {
        html += "<section id=\"main-items\">\n<h2>" + Escape(texts::kMainItemsComparedHeading) +
                "</h2>\n" + ComparedTable(comparison->mainItems) + "</section>\n";
    }

    html += std::string("<section id=\"monthly\"") +
            (comparison != nullptr ? " class=\"sheet-break\"" : "") + ">\n<h2>" +
            Escape(texts::kMonthlyHeading) + "</h2>\n" + MonthlyTable(report);
    if (comparison != nullptr)
        html += "<h2>" + Escape(texts::kMonthlyTotalsHeading) + "</h2>\n" +
                ComparedTable(comparison->monthlyTotals);
    html += Chart(report, comparison) + "</section>\n";

    html += "<section id=\"findings\">\n<h2>" + Escape(texts::kResultsHeading) + "</h2>\n" +
            FindingsHtml(findings) + "</section>\n" + Footnotes(findings) + "</body>\n</html>\n";
    return html;
}

std::string SummaryHtmlView(const std::vector<SummaryRow>& rows, const PageStamp& stamp) {
    std::string html = PageHead(texts::kSummaryTitle, true);
    std::vector<std::pair<std::string, std::string>> pairs;
    AddStamp(stamp, pairs);
    html += "<header>\n<h1>" + Escape(texts::kSummaryTitle) + "</h1>\n" + HeaderTable(pairs) +
            "</header>\n<section id=\"reports\">\n<table class=\"summary-table\">\n<tr>";
    for (const std::string& column : SummaryColumns())
        html += HeadCell(column);
    html += "</tr>\n";
    for (const SummaryRow& row : rows) {
        const std::vector<std::string> cells = SummaryCells(row);
        const bool findings = row.checked && CountOf(row.checked->findings, Severity::kFinding) > 0;
        html += std::string("<tr class=\"") +
                (!row.checked ? "unreadable"
                 : findings   ? "findings"
                              : "clean") +
                "\"><td>" +
                (row.page.empty()
                     ? Escape(cells[0])
                     : "<a href=\"" + Escape(row.page) + "\">" + Escape(cells[0]) + "</a>") +
                "</td>";
        if (!row.checked) {
            html += Cell(cells[1]) + "<td colspan=\"7\">" + Escape(cells.back()) + "</td>";
        } else {
            for (std::size_t i = 1; i < cells.size(); ++i)
                html += Cell(cells[i], i >= 4 && i <= 7 ? "amount" : nullptr);
        }
        html += "</tr>\n";
    }
    return html + "</table>\n</section>\n</body>\n</html>\n";
}

} // namespace checker
