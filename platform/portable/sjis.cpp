#include "platform/sjis.h"

#include <cstring>

namespace platform {

std::size_t CutLength(const char* text, std::size_t length, std::size_t limit) {
    std::size_t i = 0;
    while (i < length) {
        const std::size_t width =
            IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
        if (i + width > limit)
            break;
        i += width;
    }
    return i;
}

bool EndsWithBackslash(const std::string& text) {
    bool last = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
            last = false;
        } else {
            last = text[i] == '\\';
        }
    }
    return last;
}

bool CopyToField(char* field, std::size_t size, const std::string& text) {
    if (size == 0)
        return text.empty();
    const std::size_t n = CutLength(text.data(), text.size(), size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), n);
    return n == text.size();
}

std::size_t FindText(const std::string& text, const std::string& what, std::size_t from) {
    for (std::size_t i = from; i < text.size();) {
        if (text.compare(i, what.size(), what) == 0)
            return i;
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return std::string::npos;
}

} // namespace platform
