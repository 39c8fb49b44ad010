// The one reader of decimal numbers in texts: command lines, data files, the settings file, the
// definition file, the fields of the windows.
//
// A number is read as the C library's atoi and atol read one: blanks at the start (space, tab,
// line feed, vertical tab, form feed, carriage return) are skipped, then one optional '+' or
// '-', then the decimal digits up to the first other character; a text without digits there
// reads as 0. How a number beyond the range of its field reads is the caller's choice, one of
// three: the nearer end of the range (Clamped), no number (Exact), or the low bits that a store
// into the field keeps (Wrapped).
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace platform {

class LeadingDecimal {
  public:
    explicit LeadingDecimal(std::string_view text);

    template <typename Int> Int Clamped() const {
        static_assert(sizeof(Int) <= 4, "fields of up to 32 bits");
        if (beyond64_ || !InRange(std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()))
            return negative_ ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
        return static_cast<Int>(Value());
    }
    template <typename Int> std::optional<Int> Exact() const {
        static_assert(sizeof(Int) <= 4, "fields of up to 32 bits");
        if (beyond64_ || !InRange(std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()))
            return std::nullopt;
        return static_cast<Int>(Value());
    }
    template <typename Int> Int Wrapped() const {
        static_assert(sizeof(Int) <= 4, "fields of up to 32 bits");
        const std::uint64_t bits = negative_ ? 0 - low_ : low_;
        return static_cast<Int>(bits);
    }

  private:
    // The number, when it is no longer than 18 digits (beyond64_ false).
    std::int64_t Value() const;
    bool InRange(std::int64_t min, std::int64_t max) const;

    bool negative_ = false;
    // The magnitude modulo 2^64, and whether it reached 10^18 (beyond the range of any field of
    // up to 32 bits).
    std::uint64_t low_ = 0;
    bool beyond64_ = false;
};

} // namespace platform
