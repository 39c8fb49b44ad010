#include "support/portable/text_mapping.h"

#include "platform/sjis.h"
#include "texts/code_tables.h"

namespace platform {

namespace {

// The conversion tables (texts/code_tables.txt), two bytes a character in code page 932.
using texts::kFullWidthAscii;
using texts::kFullWidthKana;
using texts::kSemiVoicedHaToHo;
using texts::kVoicedHaToHo;
using texts::kVoicedKaToTo;
using texts::kVoicedU;
static_assert(sizeof kFullWidthAscii == 2 * (0x7E - 0x20 + 1) + 1, "one character per code");
static_assert(sizeof kFullWidthKana == 2 * (0xDF - 0xA1 + 1) + 1, "one character per code");

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

void AppendPair(std::string& out, const char* table, int index) {
    out.append(table + 2 * index, 2);
}

// Appends the combined form of kana c with mark; false when the pair has none.
bool AppendCombined(std::string& out, unsigned char c, unsigned char mark) {
    if (mark == kVoicedMark) {
        if (c >= 0xB6 && c <= 0xC4) {
            AppendPair(out, kVoicedKaToTo, c - 0xB6);
            return true;
        }
        if (c >= 0xCA && c <= 0xCE) {
            AppendPair(out, kVoicedHaToHo, c - 0xCA);
            return true;
        }
        if (c == 0xB3) {
            out.append(kVoicedU, 2);
            return true;
        }
        if (c == 0xDC || c == 0xA6) { // wa and wo with the voiced mark: no code in 932
            out += '?';
            return true;
        }
        return false;
    }
    if (mark == kSemiVoicedMark && c >= 0xCA && c <= 0xCE) {
        AppendPair(out, kSemiVoicedHaToHo, c - 0xCA);
        return true;
    }
    return false;
}

} // namespace

std::string PortableTextMapping::ToFullWidth(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (CharLength(text, i) == 2) {
            out.append(text, i, 2);
            ++i;
        } else if (c >= 0x20 && c <= 0x7E) {
            AppendPair(out, kFullWidthAscii, c - 0x20);
        } else if (c >= 0xA1 && c <= 0xDF) {
            const unsigned char next =
                i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if (AppendCombined(out, c, next))
                ++i;
            else
                AppendPair(out, kFullWidthKana, c - 0xA1);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace platform
