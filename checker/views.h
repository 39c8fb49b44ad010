// What the checker shows of reports: a report as text for a terminal and as one self-contained
// HTML page, with last year's beside it when asked; a table of several reports. All UTF-8.
#pragma once

#include "aggregate/statement_line.h"
#include "checker/checks.h"
#include "checker/comparison.h"
#include "checker/report.h"

#include <optional>
#include <string>
#include <vector>

namespace checker {

// A report read and checked; source is the file name to show.
struct CheckedReport {
    std::string source;
    Report report;
    std::vector<Finding> findings;
};

// What the page says of the check itself.
struct PageStamp {
    std::string checkedAt; // date and time of the check
    std::string version;   // the checker's version
};

// The texts that the views share.
std::string FormText(FormGeneration form);
std::string ProgramText(const Report& report);
std::string MonthText(int month);            // texts::kMonthFormat
std::string SeverityText(Severity severity); // finding, hint, not applicable
std::string SummaryText(const std::vector<Finding>& findings);
std::string DifferenceText(const Finding& finding);
// The line (or lines) a finding is about, as the condition sheet shows them.
std::string SubjectText(const Finding& finding);
std::string TermText(const FindingTerm& term);
// What is wrong, and what to do.
std::string WordingText(const Finding& finding);
// A finding in one line: its severity, its line and what is wrong.
std::string FindingLine(const Finding& finding);
std::string AdviceText(const Finding& finding);
// The element names of the finding's lines, for the footnote and --verbose: "SISAN = FUSAI +
// SIHON".
std::string TagsText(const Finding& finding);
// The mark before a line of a finding: nothing for the line it is about, then "=" and "+" or
// "-" for the terms of a sum, "<=" for the whole of a part.
std::string TermMark(const Finding& finding, std::size_t index);

// The statement and the findings as text; with a comparison, last year's beside this year's.
// verbose adds the element names of the lines.
std::string TextView(const CheckedReport& checked, const Comparison* comparison, bool verbose);

// The same as a page fit to file: header, tables, a bar chart of the monthly items (inline
// SVG), the findings and the element names as footnotes; no script, nothing loaded from
// elsewhere, laid out for A4 portrait (one sheet; two with a comparison).
std::string HtmlView(const CheckedReport& checked, const Comparison* comparison,
                     const PageStamp& stamp);

// One row of a summary of several reports: a report read and checked, or a file that is none.
struct SummaryRow {
    std::string source;                   // the file name to show
    std::optional<CheckedReport> checked; // nothing when the file cannot be read as a report
    std::string problem;                  // why not, in plain words
    std::string page;                     // link to the report's own page (relative; or empty)
};

// The summary's columns, and a row's cells in them (for a file that is no report: its name, the
// word for it and, in the last column, why).
std::vector<std::string> SummaryColumns();
std::vector<std::string> SummaryCells(const SummaryRow& row);

// The columns of a line in both years, and its cells in them: its caption, last year's and this
// year's amounts (or that the year's form lacks the line), the difference and its percent.
std::vector<std::string> ComparedColumns();
std::vector<std::string> ComparedCells(const ComparedLine& line);

std::string SummaryTextView(const std::vector<SummaryRow>& rows);
std::string SummaryHtmlView(const std::vector<SummaryRow>& rows, const PageStamp& stamp);

} // namespace checker
