// Hexadecimal digits, as the data files and books write kind codes and identifiers.
#pragma once

#include <string>

namespace platform {

// The value of a hexadecimal digit (either case), or -1.
constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A byte as two upper-case hexadecimal digits: 0x0A -> "0A".
inline std::string HexByte(unsigned char byte) {
    static const char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

} // namespace platform
