#include "support/portable/profile.h"

#include "platform/sjis.h"

namespace platform {

namespace {

// A UTF-8 byte-order mark at the start of the file is skipped.
const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Equal but for the case of single-byte ASCII letters; the trail byte of a double-byte
// character (which may fall in the letter range) is compared exactly.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); i += CharLength(a, i)) {
        if (CharLength(a, i) == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string WithoutQuotes(const std::string& value) {
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string CutForBuffer(const std::string& value, std::size_t size) {
    if (size == 0)
        return std::string();
    return value.substr(0, CutLength(value.data(), value.size(), size - 1));
}

} // namespace

std::string ReadProfileStringFromText(const std::string& text, const std::string& section,
                                      const std::string& key, const std::string& defaultValue,
                                      std::size_t size) {
    // Lines before the first section header belong to a section without a name.
    bool inSection = section.empty();
    std::size_t lineStart = text.compare(0, 3, kUtf8Mark) == 0 ? 3 : 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string line = Trimmed(text, lineStart, lineEnd);
        lineStart = lineEnd + 1;
        if (line.empty())
            continue;

        if (line[0] == '[') {
            const std::size_t close = FindLastSingleByte(line, ']');
            if (close != std::string::npos) {
                // Only the first section of the name is searched.
                if (inSection)
                    break;
                inSection = SameName(Trimmed(line, 1, close), section);
                continue;
            }
        }
        if (!inSection)
            continue;

        // '=' is below 0x40, so it is never the trail byte of a double-byte character.
        const std::size_t equals = line.find('=');
        const std::string name =
            Trimmed(line, 0, equals == std::string::npos ? line.size() : equals);
        if (!SameName(name, key))
            continue;
        if (equals == std::string::npos)
            break;
        // The value is read as a C string: it ends at a NUL byte.
        const std::string value = Trimmed(line, equals + 1, line.size());
        return CutForBuffer(WithoutQuotes(value.substr(0, value.find('\0'))), size);
    }
    std::size_t end = defaultValue.size();
    while (end > 0 && IsBlank(defaultValue[end - 1]))
        --end;
    return CutForBuffer(defaultValue.substr(0, end), size);
}

} // namespace platform
