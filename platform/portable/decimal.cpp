#include "platform/decimal.h"

namespace platform {
namespace {

constexpr std::uint64_t kBeyond =
    1000000000000000000ULL; // 10^18, beyond every field of up to 32 bits

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

LeadingDecimal::LeadingDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative_ = text[i++] == '-';
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        low_ = low_ * 10 + digit;
        if (!beyond64_) {
            magnitude = magnitude * 10 + digit;
            beyond64_ = magnitude >= kBeyond;
        }
    }
}

std::int64_t LeadingDecimal::Value() const {
    const auto magnitude = static_cast<std::int64_t>(low_);
    return negative_ ? -magnitude : magnitude;
}

bool LeadingDecimal::InRange(std::int64_t min, std::int64_t max) const {
    const std::int64_t value = Value();
    return value >= min && value <= max;
}

} // namespace platform
