#include "platform/sjis.h"

#include <algorithm>

namespace platform {

std::size_t CutLength(const char* text, std::size_t length, std::size_t limit) {
    const std::string_view view(text, length);
    std::size_t i = 0;
    while (i < length) {
        const std::size_t width = CharLength(view, i);
        if (i + width > limit)
            break;
        i += width;
    }
    return i;
}

std::size_t FindLastSingleByte(std::string_view text, char c) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (CharLength(text, i) == 1 && text[i] == c)
            found = i;
    }
    return found;
}

bool EndsWithBackslash(const std::string& text) {
    const std::size_t last = FindLastSingleByte(text, '\\');
    return last != std::string::npos && last + 1 == text.size();
}

bool CopyToField(char* field, std::size_t size, const std::string& text) {
    if (size == 0)
        return text.empty();
    const std::size_t n = CutLength(text.data(), text.size(), size - 1);
    std::fill_n(field, size, '\0');
    std::copy_n(text.data(), n, field);
    return n == text.size();
}

std::size_t FindText(const std::string& text, const std::string& what, std::size_t from) {
    for (std::size_t i = from; i < text.size();) {
        if (text.compare(i, what.size(), what) == 0)
            return i;
        i += CharLength(text, i);
    }
    return std::string::npos;
}

} // namespace platform
