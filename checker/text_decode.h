// Shift_JIS (code page 932) to UTF-8, for a program that shows the report's text on a UTF-8
// terminal or page. The decoder stops at the first byte that is not part of a character of the
// code page and says where it is.
#pragma once

#include <cstddef>
#include <string>

namespace checker {

struct [[nodiscard]] DecodeResult {
    bool ok = true;
    // Offset of the first byte that is not part of a character (when !ok).
    std::size_t badOffset = 0;
};

// Appends the UTF-8 form of bytes to utf8. Single bytes 0x00-0x7F are ASCII (0x5C stays '\'),
// 0xA1-0xDF the half-width katakana; a lead byte and its second byte form one character of the
// table, and a pair that the table leaves unassigned is not a character.
DecodeResult ShiftJisToUtf8(const std::string& bytes, std::string& utf8);

// The same, for text that should hold no error (names from the data files, arguments): a byte
// that is not part of a character becomes U+FFFD.
std::string ShiftJisToUtf8Lenient(const std::string& bytes);

// The code point of one double-byte character of code page 932 (lead byte, second byte), or 0
// when the table assigns it none. Implemented by the system's own conversion.
char32_t DoubleByteToCodePoint(unsigned char lead, unsigned char second);

} // namespace checker
