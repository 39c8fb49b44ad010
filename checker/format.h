// Amounts, dates and texts as the checker shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace checker {

// 1234567 -> "1,234,567"; -5000 -> "-5,000".
std::string WithSeparators(std::int64_t yen);
// Empty when the amount is empty.
std::string AmountText(const std::optional<std::int64_t>& yen);
// A percentage to one decimal, rounded half away from zero: 12.345 -> "+12.3%", -0.04 ->
// "-0.0%"; without the sign 12.3 -> "12.3%", without the unit 12.3 -> "+12.3" (points).
std::string PercentText(double percent, bool withSign = true, bool withUnit = true);

// 20240401 -> 2024, 4 and 1 in texts::kDateFormat; a number that is no date is shown as it is.
std::string DateText(std::int32_t yyyymmdd);
// Whether a YYYYMMDD number is a calendar date.
bool IsDate(std::int32_t yyyymmdd);

// Columns that text takes on a terminal: two for East Asian wide and full-width characters.
std::size_t DisplayWidth(const std::string& utf8);

// A text of the checker's catalogue with its fields ("{name}") replaced by their values; a
// field without a value is left as it is.
using Field = std::pair<const char*, std::string>;
std::string Fill(const char* pattern, std::initializer_list<Field> fields);

} // namespace checker
