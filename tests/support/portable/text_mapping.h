// The full-width mapping from tables of code page 932, as Windows maps it, for tests that run
// without the system's mapping. A half-width katakana followed by a voiced or semi-voiced mark
// becomes the one combined character where one exists in code page 932; half-width wa and wo
// with the voiced mark, whose combined characters have no code there, become '?' as the
// system's conversion makes them.
#pragma once

#include "platform/text.h"

namespace platform {

class PortableTextMapping : public TextMapping {
  public:
    std::string ToFullWidth(const std::string& text) override;
};

} // namespace platform
