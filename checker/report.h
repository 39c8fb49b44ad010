// A report file read back: what the link program wrote, as the checker shows and checks it.
#pragma once

#include "aggregate/statement_line.h"
#include "checker/form_items.h"
#include "platform/status.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace checker {

// Whole yen; no value when the report leaves the amount empty (zero or out of range).
using Amount = std::optional<std::int64_t>;

constexpr int kMonths = 12;
// A report is a few kilobytes; anything larger than this was not written by the link program
// and is refused unread (more than this is never read into memory).
constexpr std::size_t kMaxReportSize = 1 << 20;

struct MainItem {
    const FormItem* line = nullptr;
    Amount amount;
};

struct MonthlyRow {
    const FormItem* line = nullptr;
    std::array<Amount, kMonths> amounts; // in the report's month order (TUKIBETU_01 first)
};

// The sum of the months of a row; empty when every month is.
Amount RowTotal(const MonthlyRow& row);

// Texts in UTF-8.
struct Report {
    std::int16_t functionId = 0;               // FUNCTIONID
    std::string connectedVersion;              // CONNECTEDPROGRAMVER
    std::string programName;                   // PROGRAMNAME
    std::string programVersion;                // PROGRAMVER
    std::string company;                       // KOMONSAKINAME
    std::int32_t periodFrom = 0;               // JIGYOUNENDOFROM, YYYYMMDD
    std::int32_t periodTo = 0;                 // JIGYOUNENDOTO
    FormGeneration form = FormGeneration::k16; // the generation that periodTo selects
    std::vector<MainItem> mainItems;           // form-item file order
    std::array<int, kMonths> months{};         // calendar month of TUKIBETU_01 ... _12
    std::vector<MonthlyRow> monthlyRows;       // form-item file order

    const MainItem* FindMain(const std::string& tag) const;
    const MonthlyRow* FindMonthly(const std::string& tag) const;
};

// The report's accounting period as the checker shows it: its first and last days as dates in
// Japanese, joined by the period's dash (texts kPeriodDash).
std::string PeriodText(const Report& report);

struct ReadError {
    int line = 0;        // 1-based
    int column = 0;      // 1-based, in characters
    std::string message; // UTF-8: what is wrong and what was expected
};

// The form-item lines of a generation for a report of the product programName, or
// null when they cannot be had.
using FormItemsSource =
    std::function<const FormItems*(FormGeneration form, const std::string& programName)>;

// Reads a report's bytes. Accepts what the report writer emits for either generation and nothing
// else. Fails as a bad file (place "LINE:COLUMN") when the bytes are no such report, and with no
// data when the form-item lines of the report's generation cannot be had; error says where and
// what in both cases.
[[nodiscard]] platform::Status ReadReport(const std::string& bytes,
                                          const FormItemsSource& formItems, Report& report,
                                          ReadError& error);

} // namespace checker
