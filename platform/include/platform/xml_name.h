// The element names the report may hold: ASCII letters, digits, '_', '-' and '.', starting with a
// letter or '_'. Shared by the data-file readers (which refuse other tags) and the XML writer.
#pragma once

#include <string_view>

namespace platform {

inline bool IsXmlElementName(std::string_view name) {
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
