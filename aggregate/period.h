// Conversions between the calendar months of an accounting period and its fiscal month
// indexes (1 for the period's first month up to 12).
#pragma once

#include "platform/host.h"

#include <cstdint>

// The accounting month of startDate under the period's closing day (as host reckons it) and
// the end-month code: the calendar month of endDate, plus 100 when the period runs into the
// next calendar year. Dates are yyyymmdd; either output may be null. When the host cannot tell
// the accounting month, its refusal comes back and the outputs are not written: a calendar
// month in its place would ask for the wrong months under a closing day other than the month's
// end.
platform::Status GetPeriodMonths(platform::Host& host, std::int32_t startDate, std::int32_t endDate,
                                 std::int16_t* firstMonth, std::int16_t* endCode);

// The fiscal month indexes of the calendar months fromMonth and toMonth in the period of
// firstMonth and endCode (as GetPeriodMonths gives them). Writes nothing unless both outputs
// are given.
void GetMonthIndexes(std::int16_t firstMonth, std::int16_t endCode, std::int16_t fromMonth,
                     std::int16_t toMonth, std::int16_t* fromIndex, std::int16_t* toIndex);
