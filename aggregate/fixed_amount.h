// Amounts inside one aggregation: signed fixed-point values with four decimal places, held as
// a magnitude in whole units and ten-thousandths with a sign. Raw amounts are int64 counts of
// ten-thousandths of a yen. No operation rounds, and none overflows: sums are exact in a wider
// type, and only a result stored where it does not fit reports failure instead of a result.
#pragma once

#include <cstdint>

// A signed 128-bit integer (two's complement in two 64-bit halves) for exact sums: any number
// of raw values that one row or one walk of the lines adds up (well below 2^63 of them) fits.
// A class of its own because the 32-bit compilers of the product have no __int128.
class ExactRaw {
  public:
    constexpr ExactRaw(std::int64_t value = 0) // NOLINT: raw values widen implicitly
        : high_(value < 0 ? ~std::uint64_t{0} : 0), low_(static_cast<std::uint64_t>(value)) {}

    friend ExactRaw operator+(ExactRaw a, ExactRaw b) {
        ExactRaw sum;
        sum.low_ = a.low_ + b.low_;
        sum.high_ = a.high_ + b.high_ + (sum.low_ < a.low_ ? 1 : 0);
        return sum;
    }
    ExactRaw operator-() const {
        ExactRaw negated;
        negated.low_ = ~low_ + 1;
        negated.high_ = ~high_ + (negated.low_ == 0 ? 1 : 0);
        return negated;
    }
    friend ExactRaw operator-(ExactRaw a, ExactRaw b) { return a + -b; }
    ExactRaw& operator+=(ExactRaw other) { return *this = *this + other; }

    // The value as a 64-bit number: false, with raw unchanged, when it does not fit.
    [[nodiscard]] bool Fits(std::int64_t& raw) const {
        if (high_ != ((low_ >> 63) != 0 ? ~std::uint64_t{0} : 0))
            return false;
        raw = static_cast<std::int64_t>(low_);
        return true;
    }

  private:
    std::uint64_t high_;
    std::uint64_t low_;
};

class FixedAmount {
  public:
    using ExactRaw = ::ExactRaw;

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
    [[nodiscard]] static bool Sum(ExactRaw a, ExactRaw b, ExactRaw& result);
    [[nodiscard]] static bool Sum(const FixedAmount& a, const FixedAmount& b, FixedAmount& result);
    // Stores an exact value as a raw amount or a FixedAmount: false, with the target unchanged,
    // when it does not fit 64 bits.
    [[nodiscard]] static bool Store(ExactRaw value, std::int64_t& raw);
    [[nodiscard]] static bool Store(ExactRaw value, FixedAmount& result);
    // raw + value and raw - value, in raw units; result unchanged on failure.
    [[nodiscard]] static bool RawPlus(std::int64_t raw, const FixedAmount& value,
                                      std::int64_t& result);
    [[nodiscard]] static bool RawMinus(std::int64_t raw, const FixedAmount& value,
                                       std::int64_t& result);
    // *this += raw; unchanged when the result would not fit.
    [[nodiscard]] bool Add(std::int64_t raw);

  private:
    std::int64_t whole_ = 0;
    std::int32_t fraction_ = 0;
    std::int16_t sign_ = 1;
};
