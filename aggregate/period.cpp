#include "aggregate/period.h"

platform::Status GetPeriodMonths(platform::Host& host, std::int32_t startDate, std::int32_t endDate,
                                 std::int16_t* firstMonth, std::int16_t* endCode) {
    std::int16_t first = 0;
    if (platform::Status got = host.AccountingMonth(startDate, endDate, startDate, first);
        !got.ok())
        return got;
    const std::int16_t last = static_cast<std::int16_t>(endDate % 10000 / 100);
    if (firstMonth != nullptr)
        *firstMonth = first;
    if (endCode != nullptr)
        *endCode = static_cast<std::int16_t>(last < first ? last + 100 : last);
    return platform::Status();
}

void GetMonthIndexes(std::int16_t firstMonth, std::int16_t endCode, std::int16_t fromMonth,
                     std::int16_t toMonth, std::int16_t* fromIndex, std::int16_t* toIndex) {
    if (fromIndex == nullptr || toIndex == nullptr)
        return;
    const auto index = [firstMonth](int month, int offset) {
        return static_cast<std::int16_t>(month - firstMonth + offset);
    };

    if (fromMonth == firstMonth)
        *fromIndex = 1;
    else
        *fromIndex = index(fromMonth, fromMonth > firstMonth ? 1 : 13);

    const std::int16_t endMonth = static_cast<std::int16_t>(endCode % 100);
    const bool wraps = endCode / 100 != 0;
    if (toMonth == endMonth)
        *toIndex = index(endMonth, wraps ? 13 : 1);
    else
        *toIndex = index(toMonth, wraps && toMonth < endMonth ? 13 : 1);
}
