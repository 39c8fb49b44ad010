// What the checker shows of a report: the statement as text for a terminal, and as one
// self-contained HTML page; both in UTF-8.
#pragma once

#include "checker/checks.h"
#include "checker/report.h"

#include <string>
#include <vector>

namespace checker {

// The texts that both views show.
std::string FormText(bool newForm); // "30"（平成30年4月1日以後終了事業年度分）
std::string ProgramText(const Report& report);
std::string PeriodText(const Report& report);
std::string MonthText(int month);            // "4月"
std::string SeverityText(Severity severity); // 指摘, 参考, 対象外
std::string SummaryText(const std::vector<Finding>& findings);
std::string DifferenceText(const Finding& finding);
// The mark before a line of a finding: nothing for the line it is about, then "=" and "+" or
// "-" for the terms of a sum, "<=" for the whole of a part.
std::string TermMark(const Finding& finding, std::size_t index);
// The sum of the months of a row; empty when every month is.
Amount RowTotal(const MonthlyRow& row);

// The statement and the findings as text; source is the file name to show.
std::string TextView(const std::string& source, const Report& report,
                     const std::vector<Finding>& findings);

// The same as a page: header, both tables, a bar chart of the monthly items (inline SVG) and
// the findings; no script, nothing loaded from elsewhere, laid out for A4 portrait.
std::string HtmlView(const std::string& source, const Report& report,
                     const std::vector<Finding>& findings);

} // namespace checker
