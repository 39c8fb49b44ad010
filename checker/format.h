// Amounts and dates as the checker shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace checker {

// 1234567 -> "1,234,567"; -5000 -> "-5,000".
std::string WithSeparators(std::int64_t yen);
// Empty when the amount is empty.
std::string AmountText(const std::optional<std::int64_t>& yen);

// 20240401 -> "2024年4月1日"; a number that is no date is shown as it is.
std::string DateText(std::int32_t yyyymmdd);
// Whether a YYYYMMDD number is a calendar date.
bool IsDate(std::int32_t yyyymmdd);

// Columns that text takes on a terminal: two for East Asian wide and full-width characters.
std::size_t DisplayWidth(const std::string& utf8);

} // namespace checker
