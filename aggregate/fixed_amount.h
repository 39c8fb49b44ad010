// Amounts inside one aggregation: signed fixed-point values with four decimal places, held as
// a magnitude in whole units and ten-thousandths with a sign. Raw amounts are int64 counts of
// ten-thousandths of a yen. No operation rounds, and none overflows: sums are exact in a wider
// type, and only a result stored where it does not fit reports failure instead of a result.
#pragma once

#include <cstdint>

class FixedAmount {
  public:
    // A raw sum or difference of any number of raw values that one row or one walk of the lines
    // adds up (well below 2^63 values): exact, never overflowing.
    using ExactRaw = __int128;

    static constexpr std::int64_t kScale = 10000;
    // Magnitude (in raw units) from which the range-checked sum refuses a result.
    static constexpr std::int64_t kSumLimit = 1000000000000000000;

    FixedAmount() = default;
    explicit FixedAmount(std::int64_t raw);
    // whole units and ten-thousandths; a fraction of 10000 or more carries into the whole units.
    FixedAmount(std::int32_t whole, std::uint32_t fraction);
    FixedAmount(const FixedAmount&) = default;
    FixedAmount& operator=(const FixedAmount&) = default;
    virtual ~FixedAmount() = default;

    std::int64_t whole() const { return whole_; }
    std::int32_t fraction() const { return fraction_; }
    std::int16_t sign() const { return sign_; }

    std::int64_t ToRaw() const;

    // a + b, refused (false) when the magnitude of the sum is kSumLimit or more.
    static bool Sum(ExactRaw a, ExactRaw b, ExactRaw& result);
    static bool Sum(const FixedAmount& a, const FixedAmount& b, FixedAmount& result);
    // Stores an exact value as a raw amount or a FixedAmount: false, with the target unchanged,
    // when it does not fit 64 bits.
    static bool Store(ExactRaw value, std::int64_t& raw);
    static bool Store(ExactRaw value, FixedAmount& result);
    // a - b.
    static bool Difference(const FixedAmount& a, const FixedAmount& b, FixedAmount& result);
    // raw + value and raw - value, in raw units; result unchanged on failure.
    static bool RawPlus(std::int64_t raw, const FixedAmount& value, std::int64_t& result);
    static bool RawMinus(std::int64_t raw, const FixedAmount& value, std::int64_t& result);
    // *this += raw; unchanged when the result would not fit.
    bool Add(std::int64_t raw);

  private:
    std::int64_t whole_ = 0;
    std::int32_t fraction_ = 0;
    std::int16_t sign_ = 1;
};
