// Text services of the system locale (code page 932) that the portable code calls.
#pragma once

#include <string>

namespace platform {

class TextMapping {
  public:
    virtual ~TextMapping() = default;
    // LCMapStringA with LCMAP_FULLWIDTH under the system default locale: half-width letters,
    // digits, punctuation and katakana become their full-width forms; everything else is kept.
    virtual std::string ToFullWidth(const std::string& text) = 0;
};

} // namespace platform
