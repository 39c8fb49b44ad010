// Shift_JIS (code page 932) byte rules shared by every scan of a path or cut of a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length of the character that starts at text[i] (i < text.size()): 2 for a lead byte followed
// by its second byte, else 1 (a lead byte at the very end stands alone). Every scan of a path or
// a text steps with this.
constexpr std::size_t CharLength(std::string_view text, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Position of the last single-byte c in text (never the second byte of a double-byte character),
// or std::string::npos.
std::size_t FindLastSingleByte(std::string_view text, char c);

// Second bytes of a double-byte character: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Single bytes that a text document may hold: tab, CR, LF, printable ASCII and half-width
// katakana (0xA1-0xDF). Other control characters and the bytes that are no character of code
// page 932 (0x80, 0xA0, 0xFD-0xFF) are not among them.
constexpr bool IsTextSingleByte(unsigned char c) {
    return c == '\t' || c == '\r' || c == '\n' || (c >= 0x20 && c <= 0x7E) ||
           (c >= 0xA1 && c <= 0xDF);
}

// Length of the longest prefix of text[0..length) that is at most limit bytes and does not end
// inside a double-byte character.
std::size_t CutLength(const char* text, std::size_t length, std::size_t limit);

// True when the last character of text is a single-byte '\' (not the second byte of a
// double-byte character such as 0x95 0x5C).
bool EndsWithBackslash(const std::string& text);

// Copies text into a fixed field of size bytes (NUL included), cut without splitting a
// double-byte character and NUL-padded. Returns false when the text had to be cut.
bool CopyToField(char* field, std::size_t size, const std::string& text);

// Position of the first occurrence of what in text at or after from (a character boundary)
// that starts on a character boundary, so that a marker such as texts::kSectionEndMarker is never
// matched from the second byte of a double-byte character; std::string::npos when there is none.
std::size_t FindText(const std::string& text, const std::string& what, std::size_t from = 0);

} // namespace platform
