// Fuzz target of the form-item file reader: any bytes either fail and leave the list alone, or
// give statement lines within their limits, the same ones every time.
#include "settings/statement_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool IsTagCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

void CheckLine(const StatementLine& line) {
    if (line.name.size() > 30 || line.tag.empty() || line.tag.size() > 50)
        std::abort();
    for (char c : line.tag) {
        if (!IsTagCharacter(c))
            std::abort();
    }
    // A tag that is written names an element: a letter or '_' first.
    const char first = line.tag[0];
    if (!IsPlaceholderTag(line.tag) &&
        !((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_'))
        std::abort();
    for (std::int64_t amount : line.amounts) {
        if (amount != 0)
            std::abort();
    }
}

bool Same(const StatementLines& a, const StatementLines& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i]->lineNo != b[i]->lineNo || a[i]->side != b[i]->side || a[i]->name != b[i]->name ||
            a[i]->tag != b[i]->tag || a[i]->kindCodes != b[i]->kindCodes)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    StatementLines lines;
    lines.push_back(std::make_unique<StatementLine>());
    lines[0]->tag = "BEFORE";
    if (!loadStatementLines(bytes, lines)) {
        if (lines.size() != 1 || lines[0]->tag != "BEFORE")
            std::abort();
        return 0;
    }
    for (const auto& line : lines)
        CheckLine(*line);
    StatementLines again;
    if (!loadStatementLines(bytes, again) || !Same(lines, again))
        std::abort();
    return 0;
}
