#include "checker/text_decode.h"

#include "platform/sjis.h"

namespace checker {

namespace {

bool IsSecondByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The code point of the character at bytes[i] and its width in bytes; 0 width when none.
char32_t CharacterAt(const std::string& bytes, std::size_t i, std::size_t& width) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    width = 1;
    if (c < 0x80)
        return c;
    if (c >= 0xA1 && c <= 0xDF)
        return 0xFF61 + (c - 0xA1);
    width = 0;
    if (!platform::IsLeadByte(c) || i + 1 >= bytes.size())
        return 0;
    const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
    if (!IsSecondByte(second))
        return 0;
    const char32_t codePoint = DoubleByteToCodePoint(c, second);
    if (codePoint != 0)
        width = 2;
    return codePoint;
}

void AppendUtf8(char32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

DecodeResult ShiftJisToUtf8(const std::string& bytes, std::string& utf8) {
    utf8.reserve(utf8.size() + bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t width = 0;
        const char32_t codePoint = CharacterAt(bytes, i, width);
        if (width == 0)
            return {false, i};
        AppendUtf8(codePoint, utf8);
        i += width;
    }
    return {};
}

std::string ShiftJisToUtf8Lenient(const std::string& bytes) {
    std::string utf8;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t width = 0;
        const char32_t codePoint = CharacterAt(bytes, i, width);
        AppendUtf8(width == 0 ? 0xFFFD : codePoint, utf8);
        i += width == 0 ? 1 : width;
    }
    return utf8;
}

} // namespace checker
