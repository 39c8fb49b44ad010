#include "aggregate/fixed_amount.h"

namespace {

// |raw| without overflow: the magnitude of INT64_MIN fits an unsigned 64-bit value.
std::uint64_t Magnitude(std::int64_t raw) {
    return raw < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(raw)
                   : static_cast<std::uint64_t>(raw);
}

} // namespace

FixedAmount::FixedAmount(std::int64_t raw)
    : whole_(static_cast<std::int64_t>(Magnitude(raw) / kScale)),
      fraction_(static_cast<std::int32_t>(Magnitude(raw) % kScale)), sign_(raw < 0 ? -1 : 1) {}

FixedAmount::FixedAmount(std::int32_t whole, std::uint32_t fraction)
    : whole_(whole < 0 ? -std::int64_t{whole} : whole), sign_(whole < 0 ? -1 : 1) {
    whole_ += fraction / kScale;
    fraction_ = static_cast<std::int32_t>(fraction % kScale);
}

std::int64_t FixedAmount::ToRaw() const {
    // whole_ never exceeds |INT64_MIN| / kScale, so the magnitude fits unsigned arithmetic and
    // the negation lands in range for every value a FixedAmount can hold.
    const std::uint64_t magnitude =
        static_cast<std::uint64_t>(whole_) * kScale + static_cast<std::uint64_t>(fraction_);
    return sign_ < 0 ? static_cast<std::int64_t>(std::uint64_t{0} - magnitude)
                     : static_cast<std::int64_t>(magnitude);
}

bool FixedAmount::Sum(ExactRaw a, ExactRaw b, ExactRaw& result) {
    const ExactRaw sum = a + b;
    std::int64_t raw = 0;
    if (!sum.Fits(raw) || raw >= kSumLimit || raw <= -kSumLimit)
        return false;
    result = sum;
    return true;
}

bool FixedAmount::Sum(const FixedAmount& a, const FixedAmount& b, FixedAmount& result) {
    ExactRaw sum = 0;
    return Sum(a.ToRaw(), b.ToRaw(), sum) && Store(sum, result);
}

bool FixedAmount::Store(ExactRaw value, std::int64_t& raw) {
    return value.Fits(raw);
}

bool FixedAmount::Store(ExactRaw value, FixedAmount& result) {
    std::int64_t raw = 0;
    if (!Store(value, raw))
        return false;
    result = FixedAmount(raw);
    return true;
}

bool FixedAmount::RawPlus(std::int64_t raw, const FixedAmount& value, std::int64_t& result) {
    return Store(ExactRaw{raw} + value.ToRaw(), result);
}

bool FixedAmount::RawMinus(std::int64_t raw, const FixedAmount& value, std::int64_t& result) {
    return Store(ExactRaw{raw} - value.ToRaw(), result);
}

bool FixedAmount::Add(std::int64_t raw) {
    return Store(ExactRaw{ToRaw()} + raw, *this);
}
