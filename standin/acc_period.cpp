// Accounting period arithmetic. The closing day is the day of the month on which each
// accounting month ends: 31 stands for the month end. Under a closing day of 20, the
// accounting month 4 runs from 21 March to 20 April.
#include "host/bookkern.h"
#include "standin/calls.h"

namespace {

constexpr short kMonthEnd = 31;

int DaysInMonth(long year, long month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsValidDate(long date) {
    const long year = date / 10000, month = date / 100 % 100, day = date % 100;
    return year >= 1900 && year <= 2999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

} // namespace

ClAccPeriod::ClAccPeriod() : start_(0), end_(0), closingDay_(kMonthEnd) {}

long ClAccPeriod::SetPeriod(long startDate, long endDate) {
    if (const auto fault = standin::AnswerCall("ClAccPeriod::SetPeriod"))
        return *fault;
    if (!IsValidDate(startDate) || !IsValidDate(endDate) || endDate < startDate)
        return 1;
    start_ = startDate;
    end_ = endDate;
    return 0;
}

long ClAccPeriod::GetClosingDayByEndDate(long endDate, long, short* closingDay) {
    if (const auto fault = standin::AnswerCall("ClAccPeriod::GetClosingDayByEndDate"))
        return *fault;
    if (closingDay == nullptr || !IsValidDate(endDate))
        return 1;
    const long year = endDate / 10000, month = endDate / 100 % 100, day = endDate % 100;
    *closingDay = day == DaysInMonth(year, month) ? kMonthEnd : static_cast<short>(day);
    return 0;
}

long ClAccPeriod::SetClosingDay(short closingDay) {
    if (const auto fault = standin::AnswerCall("ClAccPeriod::SetClosingDay"))
        return *fault;
    if (closingDay < 1 || closingDay > kMonthEnd)
        return 1;
    closingDay_ = closingDay;
    return 0;
}

long ClAccPeriod::GetAMonthByDate(long date, short* month, long) {
    if (const auto fault = standin::AnswerCall("ClAccPeriod::GetAMonthByDate"))
        return *fault;
    if (month == nullptr || !IsValidDate(date))
        return 1;
    const long year = date / 10000, calendarMonth = date / 100 % 100, day = date % 100;
    const bool closedByMonthEnd = closingDay_ >= DaysInMonth(year, calendarMonth);
    long result = calendarMonth;
    if (!closedByMonthEnd && day > closingDay_)
        result = calendarMonth == 12 ? 1 : calendarMonth + 1;
    *month = static_cast<short>(result);
    return 0;
}
