#include "checker/format.h"

#include "texts/checker.h"

#include <cmath>
#include <cstdio>

namespace checker {

std::string WithSeparators(std::int64_t yen) {
    const bool negative = yen < 0;
    const unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(yen)
                                                  : static_cast<unsigned long long>(yen);
    const std::string digits = std::to_string(magnitude);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

std::string AmountText(const std::optional<std::int64_t>& yen) {
    return yen ? WithSeparators(*yen) : std::string();
}

std::string PercentText(double percent, bool withSign, bool withUnit) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, withSign ? "%+.1f%s" : "%.1f%s",
                  std::round(percent * 10) / 10, withUnit ? "%" : "");
    return buffer;
}

bool IsDate(std::int32_t yyyymmdd) {
    const int year = yyyymmdd / 10000;
    const int month = yyyymmdd / 100 % 100;
    const int day = yyyymmdd % 100;
    if (yyyymmdd <= 0 || year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string DateText(std::int32_t yyyymmdd) {
    if (!IsDate(yyyymmdd))
        return std::to_string(yyyymmdd);
    return Fill(texts::kDateFormat, {{"year", std::to_string(yyyymmdd / 10000)},
                                     {"month", std::to_string(yyyymmdd / 100 % 100)},
                                     {"day", std::to_string(yyyymmdd % 100)}});
}

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        char32_t code = c;
        std::size_t length = 1;
        if (c >= 0xF0) {
            length = 4;
            code = c & 0x07;
        } else if (c >= 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xC0) {
            length = 2;
            code = c & 0x1F;
        }
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        const bool wide =
            (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
            (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
            (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
            (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
        width += wide ? 2 : 1;
    }
    return width;
}

std::string Fill(const char* pattern, std::initializer_list<Field> fields) {
    std::string out;
    const std::string text(pattern);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        const std::size_t close = open == std::string::npos ? open : text.find('}', open);
        if (close == std::string::npos) {
            out.append(text, at, std::string::npos);
            break;
        }
        out.append(text, at, open - at);
        const std::string name = text.substr(open + 1, close - open - 1);
        const Field* value = nullptr;
        for (const Field& field : fields) {
            if (name == field.first)
                value = &field;
        }
        out += value != nullptr ? value->second : text.substr(open, close - open + 1);
        at = close + 1;
    }
    return out;
}

} // namespace checker
