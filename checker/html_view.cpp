// The page: everything inline (style, chart), so it opens anywhere, prints on A4 portrait and
// loads nothing. A content security policy that allows no source makes any later addition of
// an outside resource fail loudly in the browser's console.
#include "checker/format.h"
#include "checker/views.h"

#include <algorithm>
#include <cmath>

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

const char kStyle[] = R"(
@page { size: A4 portrait; margin: 14mm 12mm; }
* { box-sizing: border-box; }
body { font-family: "IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "Yu Gothic", Meiryo,
       sans-serif; font-size: 9.5pt; color: #1d1d1d; margin: 0 auto; max-width: 186mm;
       padding: 6mm 0; background: #fff; }
h1 { font-size: 15pt; margin: 0 0 3mm; }
h2 { font-size: 11.5pt; margin: 6mm 0 2mm; padding-bottom: 1mm; border-bottom: 1.5px solid #35507a; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #b9c1cc; padding: 0.6mm 1.8mm; }
th { background: #e8edf4; font-weight: bold; text-align: center; }
td.num, td.amount { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
td.tag { font-family: monospace; font-size: 8pt; color: #555; }
tr.total td { font-weight: bold; border-top: 1.5px solid #35507a; }
table.header { width: auto; }
table.header th { text-align: left; }
table.header td, table.header th { border: none; padding: 0.4mm 4mm 0.4mm 0; background: none; }
.summary { margin: 3mm 0; padding: 2mm 3mm; border-radius: 1.5mm; font-weight: bold; }
.summary.clean { background: #e3f3e5; border: 1px solid #6bb372; }
.summary.findings { background: #fbe7e4; border: 1px solid #d0705f; }
.finding { margin: 2mm 0; padding: 1.5mm 3mm; border-left: 3px solid #d0705f; break-inside: avoid; }
.finding.hint { border-left-color: #d6a536; }
.finding.not-applicable { border-left-color: #9aa3ad; }
.finding table { width: auto; margin-top: 1mm; }
.finding td { border: none; padding: 0 3mm 0 0; }
.label { font-weight: bold; margin-right: 2mm; }
section { break-inside: avoid; }
svg { display: block; width: 100%; height: auto; margin-top: 3mm; }
svg text { font-family: inherit; font-size: 11px; fill: #333; }
)";

const char* const kColours[] = {"#3b6fb6", "#e07b39", "#4f9d69", "#b8568f",
                                "#8c6d31", "#5d5fa8", "#2f9aa0", "#a84343"};

std::string Cell(const std::string& text, const char* cls = nullptr) {
    return std::string("<td") + (cls != nullptr ? std::string(" class=\"") + cls + "\"" : "") +
           ">" + Escape(text) + "</td>";
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

// Grouped bars: one group per month in the report's order, one bar per monthly line that has
// any amount; a legend above, the zero line and gridlines with their amounts on the left.
std::string Chart(const Report& report) {
    std::vector<const MonthlyRow*> rows;
    for (const MonthlyRow& row : report.monthlyRows) {
        if (RowTotal(row))
            rows.push_back(&row);
    }
    const double width = 700;
    const double height = 300;
    const double left = 96;
    const double right = 10;
    const double top = 30 + 18 * std::ceil(rows.size() / 4.0);
    const double bottom = 26;
    std::string svg = "<svg id=\"monthly-chart\" viewBox=\"0 0 " + Number(width) + " " +
                      Number(height) + "\" role=\"img\" aria-label=\"" +
                      u8"月別売上等の棒グラフ\">\n";
    if (rows.empty())
        return svg + "<text x=\"" + Number(width / 2) + "\" y=\"" + Number(height / 2) +
               u8"\" text-anchor=\"middle\">月別の金額はありません</text>\n</svg>\n";

    double max = 0;
    double min = 0;
    for (const MonthlyRow* row : rows) {
        for (const Amount& amount : row->amounts) {
            max = std::max(max, static_cast<double>(amount.value_or(0)));
            min = std::min(min, static_cast<double>(amount.value_or(0)));
        }
    }
    const double step = NiceStep(max - min > 0 ? max - min : 1);
    max = std::ceil(max / step) * step;
    min = std::floor(min / step) * step;
    if (max == min)
        max = min + step;
    const double plotHeight = height - top - bottom;
    const auto y = [&](double value) { return top + (max - value) / (max - min) * plotHeight; };

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double x = left + static_cast<double>(i % 4) * 150;
        const double ly = 12 + 18 * static_cast<double>(i / 4);
        svg += "<rect x=\"" + Number(x) + "\" y=\"" + Number(ly) +
               "\" width=\"12\" height=\"12\" fill=\"" + kColours[i % 8] + "\"/><text x=\"" +
               Number(x + 16) + "\" y=\"" + Number(ly + 10.5) + "\">" +
               Escape(rows[i]->line->name) + "</text>\n";
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
    const double barWidth = groupWidth * 0.8 / static_cast<double>(rows.size());
    for (int month = 0; month < kMonths; ++month) {
        const double groupX = left + groupWidth * month + groupWidth * 0.1;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Amount& amount = rows[i]->amounts[month];
            if (!amount)
                continue;
            const double value = static_cast<double>(*amount);
            const double y0 = y(std::max(value, 0.0));
            const double y1 = y(std::min(value, 0.0));
            svg += "<rect class=\"bar\" x=\"" + Number(groupX + barWidth * i) + "\" y=\"" +
                   Number(y0) + "\" width=\"" + Number(barWidth * 0.92) + "\" height=\"" +
                   Number(std::max(y1 - y0, 0.5)) + "\" fill=\"" + kColours[i % 8] + "\"><title>" +
                   Escape(MonthText(report.months[month]) + " " + rows[i]->line->name + " " +
                          WithSeparators(*amount)) +
                   u8" 円</title></rect>\n";
        }
        svg += "<text x=\"" + Number(left + groupWidth * (month + 0.5)) + "\" y=\"" +
               Number(height - 8) + "\" text-anchor=\"middle\">" + MonthText(report.months[month]) +
               "</text>\n";
    }
    return svg + "</svg>\n";
}

std::string FindingsHtml(const std::vector<Finding>& findings) {
    std::string html;
    for (const Finding& finding : findings) {
        const char* cls = finding.severity == Severity::kFinding ? "finding"
                          : finding.severity == Severity::kHint  ? "finding hint"
                                                                 : "finding not-applicable";
        html += std::string("<div class=\"") + cls + "\" data-rule=\"" + finding.rule->id +
                "\"><span class=\"label\">[" + SeverityText(finding.severity) + "]</span>" +
                Escape(finding.subject) + ": " +
                Escape(finding.note.empty() ? finding.rule->wording : finding.note);
        if (!finding.terms.empty()) {
            html += "<table>";
            for (std::size_t i = 0; i < finding.terms.size(); ++i) {
                const FindingTerm& term = finding.terms[i];
                html += "<tr>" + Cell(TermMark(finding, i)) +
                        Cell(term.name + " (" + term.tag + ")") +
                        Cell(term.amount ? WithSeparators(*term.amount) : u8"（空欄）", "amount") +
                        "</tr>";
            }
            html += "</table>";
        }
        if (finding.difference)
            html += "<div>" + Escape(DifferenceText(finding)) + "</div>";
        html += "</div>\n";
    }
    return html;
}

} // namespace

std::string HtmlView(const std::string& source, const Report& report,
                     const std::vector<Finding>& findings) {
    const bool clean = CountOf(findings, Severity::kFinding) == 0;
    std::string html = "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'\">\n<title>" +
                       Escape(u8"事業概況書 " + report.company + " " + PeriodText(report)) +
                       "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";

    html += u8"<header>\n<h1>事業概況書</h1>\n<table class=\"header\">\n";
    const std::pair<std::string, std::string> header[] = {
        {u8"会社名", report.company},         {u8"事業年度", PeriodText(report)},
        {u8"作成", ProgramText(report)},      {u8"機能 ID", std::to_string(report.functionId)},
        {u8"様式", FormText(report.newForm)}, {u8"ファイル", source}};
    for (const auto& [label, value] : header)
        html += "<tr><th>" + Escape(label) + "</th>" + Cell(value) + "</tr>\n";
    html += "</table>\n<div id=\"summary\" class=\"summary " +
            std::string(clean ? "clean" : "findings") + "\">" + Escape(SummaryText(findings)) +
            "</div>\n</header>\n";

    html += u8"<section id=\"main-items\">\n<h2>主要科目</h2>\n<table>\n<tr><th>行</th>"
            u8"<th>科目</th><th>要素名</th><th>金額（円）</th></tr>\n";
    for (const MainItem& item : report.mainItems)
        html += "<tr>" + Cell(std::to_string(item.line->lineNo), "num") + Cell(item.line->name) +
                Cell(item.line->tag, "tag") + Cell(AmountText(item.amount), "amount") + "</tr>\n";
    html += "</table>\n</section>\n";

    html += u8"<section id=\"monthly\">\n<h2>月別売上等（円）</h2>\n<table>\n<tr><th>月</th>";
    for (const MonthlyRow& row : report.monthlyRows)
        html += "<th>" + Escape(row.line->name) + "</th>";
    html += "</tr>\n";
    for (int month = 0; month < kMonths; ++month) {
        html += "<tr>" + Cell(MonthText(report.months[month]), "num");
        for (const MonthlyRow& row : report.monthlyRows)
            html += Cell(AmountText(row.amounts[month]), "amount");
        html += "</tr>\n";
    }
    html += u8"<tr class=\"total\">" + Cell(u8"計", "num");
    for (const MonthlyRow& row : report.monthlyRows)
        html += Cell(AmountText(RowTotal(row)), "amount");
    html += "</tr>\n</table>\n" + Chart(report) + "</section>\n";

    html += u8"<section id=\"findings\">\n<h2>確認の結果</h2>\n<p>" +
            Escape(SummaryText(findings)) + "</p>\n" + FindingsHtml(findings) +
            "</section>\n</body>\n</html>\n";
    return html;
}

} // namespace checker
