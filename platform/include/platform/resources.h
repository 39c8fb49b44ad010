// The program's own resources that the portable code reads.
#pragma once

#include <string>

namespace platform {

class StringResources {
  public:
    virtual ~StringResources() = default;
    // LoadStringA from the program's string table: the text of id, empty when there is none.
    virtual std::string Load(unsigned id) = 0;
};

} // namespace platform
