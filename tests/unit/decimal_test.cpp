// The one reader of decimal numbers: what it takes of a text, and the three readings of a number
// beyond its field, on both sides of each limit.
#include "platform/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using platform::LeadingDecimal;

TEST(LeadingDecimal, ReadsAsTheCLibraryDoes) {
    EXPECT_EQ(42, LeadingDecimal("42").Clamped<int>());
    EXPECT_EQ(42, LeadingDecimal(" \t\n\v\f\r42abc").Clamped<int>());
    EXPECT_EQ(-42, LeadingDecimal("-42").Clamped<int>());
    EXPECT_EQ(42, LeadingDecimal("+42").Clamped<int>());
    EXPECT_EQ(7, LeadingDecimal("007/3").Clamped<int>());
    EXPECT_EQ(0, LeadingDecimal("-0").Clamped<int>());
    for (const char* none : {"", " ", "abc", "+", "-", "+-5", "- 5", "\xE5\x85\xAB", "x12"}) {
        const LeadingDecimal read(none);
        EXPECT_EQ(0, read.Clamped<int>()) << none;
        EXPECT_EQ(0, read.Exact<std::int16_t>().value_or(-1)) << none;
        EXPECT_EQ(0, read.Wrapped<std::int16_t>()) << none;
    }
    // Full-width digits and blanks are no digits and no blanks.
    EXPECT_EQ(0, LeadingDecimal("\x82\x50").Clamped<int>());
    EXPECT_EQ(0, LeadingDecimal("\x81\x40"
                                "5")
                     .Clamped<int>());
}

TEST(LeadingDecimal, ANumberBeyondItsFieldReadsAsTheCallerChose) {
    // Clamped: the nearer end.
    EXPECT_EQ(32766, LeadingDecimal("32766").Clamped<std::int16_t>());
    EXPECT_EQ(32767, LeadingDecimal("32767").Clamped<std::int16_t>());
    EXPECT_EQ(32767, LeadingDecimal("32768").Clamped<std::int16_t>());
    EXPECT_EQ(-32768, LeadingDecimal("-32768").Clamped<std::int16_t>());
    EXPECT_EQ(-32768, LeadingDecimal("-32769").Clamped<std::int16_t>());
    EXPECT_EQ(INT32_MAX, LeadingDecimal("2147483647").Clamped<std::int32_t>());
    EXPECT_EQ(INT32_MAX, LeadingDecimal("2147483648").Clamped<std::int32_t>());
    EXPECT_EQ(INT32_MIN, LeadingDecimal("-2147483649").Clamped<std::int32_t>());
    const std::string huge(300, '9');
    EXPECT_EQ(INT32_MAX, LeadingDecimal(huge).Clamped<std::int32_t>());
    EXPECT_EQ(INT32_MIN, LeadingDecimal("-" + huge).Clamped<std::int32_t>());

    // Exact: no number.
    EXPECT_EQ(32767, LeadingDecimal("32767").Exact<std::int16_t>().value_or(0));
    EXPECT_FALSE(LeadingDecimal("32768").Exact<std::int16_t>().has_value());
    EXPECT_EQ(-32768, LeadingDecimal("-32768").Exact<std::int16_t>().value_or(0));
    EXPECT_FALSE(LeadingDecimal("-32769").Exact<std::int16_t>().has_value());
    EXPECT_EQ(INT32_MIN, LeadingDecimal("-2147483648").Exact<std::int32_t>().value_or(0));
    EXPECT_FALSE(LeadingDecimal("2147483648").Exact<std::int32_t>().has_value());
    EXPECT_FALSE(LeadingDecimal(huge).Exact<std::int32_t>().has_value());

    // Wrapped: the low bits, as a store into the field keeps them.
    EXPECT_EQ(-25536, LeadingDecimal("40000").Wrapped<std::int16_t>());
    EXPECT_EQ(0, LeadingDecimal("65536").Wrapped<std::int16_t>());
    EXPECT_EQ(-1, LeadingDecimal("65535").Wrapped<std::int16_t>());
    EXPECT_EQ(1, LeadingDecimal("-65535").Wrapped<std::int16_t>());
    // 10^20 = 0x56BC75E2D63100000: its low 16 bits are 0.
    EXPECT_EQ(0, LeadingDecimal("100000000000000000000").Wrapped<std::int16_t>());
    // 10^20 + 3
    EXPECT_EQ(3, LeadingDecimal("100000000000000000003").Wrapped<std::int16_t>());
}
