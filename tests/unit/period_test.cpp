#include "aggregate/period.h"

#include "support/served_book.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct PeriodMonths {
    std::int16_t first = -1;
    std::int16_t endCode = -1;
};

PeriodMonths MonthsOf(std::int32_t start, std::int32_t end) {
    PeriodMonths months;
    EXPECT_EQ("ok", platform::LogLine(GetPeriodMonths(testsupport::LibraryHost(), start, end,
                                                      &months.first, &months.endCode)));
    return months;
}

std::int16_t FromIndex(std::int16_t first, std::int16_t endCode, std::int16_t from) {
    std::int16_t fromIndex = -1;
    std::int16_t toIndex = -1;
    GetMonthIndexes(first, endCode, from, static_cast<std::int16_t>(endCode % 100), &fromIndex,
                    &toIndex);
    return fromIndex;
}

std::int16_t ToIndex(std::int16_t first, std::int16_t endCode, std::int16_t to) {
    std::int16_t fromIndex = -1;
    std::int16_t toIndex = -1;
    GetMonthIndexes(first, endCode, first, to, &fromIndex, &toIndex);
    EXPECT_EQ(1, fromIndex) << "from the first month " << first;
    return toIndex;
}

} // namespace

TEST(GetPeriodMonths, AprilToMarchWrapsIntoTheNextYear) {
    const PeriodMonths months = MonthsOf(20200401, 20210331);
    EXPECT_EQ(4, months.first);
    EXPECT_EQ(103, months.endCode);
    EXPECT_EQ(1, FromIndex(4, 103, 4));
    EXPECT_EQ(10, FromIndex(4, 103, 1));
    EXPECT_EQ(9, FromIndex(4, 103, 12));
    EXPECT_EQ(12, ToIndex(4, 103, 3));
    EXPECT_EQ(6, ToIndex(4, 103, 9));
    EXPECT_EQ(9, ToIndex(4, 103, 12));
    EXPECT_EQ(10, ToIndex(4, 103, 1));
    EXPECT_EQ(1, ToIndex(4, 103, 4));
}

TEST(GetPeriodMonths, CalendarYearDoesNotWrap) {
    const PeriodMonths months = MonthsOf(20200101, 20201231);
    EXPECT_EQ(1, months.first);
    EXPECT_EQ(12, months.endCode);
    EXPECT_EQ(12, ToIndex(1, 12, 12));
    EXPECT_EQ(6, ToIndex(1, 12, 6));
    EXPECT_EQ(1, ToIndex(1, 12, 1));
}

TEST(GetPeriodMonths, ShortFirstPeriod) {
    const PeriodMonths months = MonthsOf(20200701, 20210331);
    EXPECT_EQ(7, months.first);
    EXPECT_EQ(103, months.endCode);
    EXPECT_EQ(9, ToIndex(7, 103, 3));
    EXPECT_EQ(6, ToIndex(7, 103, 12));
}

TEST(GetPeriodMonths, StartAndEndInOneMonth) {
    const PeriodMonths months = MonthsOf(20200401, 20200430);
    EXPECT_EQ(4, months.first);
    EXPECT_EQ(4, months.endCode);
    EXPECT_EQ(1, ToIndex(4, 4, 4));
}

TEST(GetPeriodMonths, FirstMonthIsTheHostsAccountingMonthOfTheStart) {
    // Closing on the 20th: 21 April to 20 May is the accounting month 5.
    const PeriodMonths months = MonthsOf(20200421, 20210420);
    EXPECT_EQ(5, months.first);
    EXPECT_EQ(104, months.endCode);
    EXPECT_EQ(12, ToIndex(5, 104, 4));
    // 21 December to 20 January is the accounting month 1; the end month 12 does not wrap.
    const PeriodMonths january = MonthsOf(20201221, 20211220);
    EXPECT_EQ(1, january.first);
    EXPECT_EQ(12, january.endCode);
}

TEST(GetPeriodMonths, APeriodTheHostCannotReckonIsRefusedAndNothingWritten) {
    // A calendar month in place of the accounting month would ask for the wrong months.
    PeriodMonths months;
    EXPECT_EQ("host-refused step=ClAccPeriod::SetPeriod code=1",
              platform::LogLine(GetPeriodMonths(testsupport::LibraryHost(), 0, 0, &months.first,
                                                &months.endCode)));
    EXPECT_EQ(-1, months.first);
    EXPECT_EQ(-1, months.endCode);
}

TEST(GetPeriodMonths, EitherOutputMayBeOmitted) {
    std::int16_t first = -1;
    std::int16_t endCode = -1;
    EXPECT_TRUE(
        GetPeriodMonths(testsupport::LibraryHost(), 20200401, 20210331, &first, nullptr).ok());
    EXPECT_TRUE(
        GetPeriodMonths(testsupport::LibraryHost(), 20200401, 20210331, nullptr, &endCode).ok());
    EXPECT_TRUE(
        GetPeriodMonths(testsupport::LibraryHost(), 20200401, 20210331, nullptr, nullptr).ok());
    EXPECT_EQ(4, first);
    EXPECT_EQ(103, endCode);
}

TEST(GetMonthIndexes, WritesNothingUnlessBothOutputsAreGiven) {
    std::int16_t fromIndex = -1;
    std::int16_t toIndex = -1;
    GetMonthIndexes(4, 103, 5, 3, &fromIndex, nullptr);
    GetMonthIndexes(4, 103, 5, 3, nullptr, &toIndex);
    EXPECT_EQ(-1, fromIndex);
    EXPECT_EQ(-1, toIndex);
    GetMonthIndexes(4, 103, 5, 3, &fromIndex, &toIndex);
    EXPECT_EQ(2, fromIndex);
    EXPECT_EQ(12, toIndex);
}
