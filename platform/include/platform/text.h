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

// The same mapping from tables of code page 932, as Windows maps it, for builds without the
// system's mapping (native tests). A half-width katakana followed by a voiced or semi-voiced
// mark becomes the one combined character where one exists in code page 932; half-width wa and
// wo with the voiced mark, whose combined characters have no code there, become '?' as the
// system's conversion makes them.
class PortableTextMapping : public TextMapping {
  public:
    std::string ToFullWidth(const std::string& text) override;
};

} // namespace platform
