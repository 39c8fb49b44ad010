// The names this system gives XML elements: the writer writes them, the data-file reader
// accepts them as tags and the read-back check expects them.
#pragma once

#include <string_view>

namespace platform {

// True when name may name an element: ASCII letters, digits, '_', '-' and '.', a letter or '_'
// first.
constexpr bool IsXmlElementName(std::string_view name) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.empty() || !(isLetter(name.front()) || name.front() == '_'))
        return false;
    for (char c : name) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '_' && c != '-' && c != '.')
            return false;
    }
    return true;
}

} // namespace platform
