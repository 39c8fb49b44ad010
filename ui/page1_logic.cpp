#include "ui/page1_logic.h"

#include "platform/sjis.h"

#include <cctype>

namespace page1 {

BrowseStart SplitForBrowse(const std::string& pathText) {
    std::size_t cut = platform::FindLastSingleByte(pathText, '\\');
    if (cut == std::string::npos)
        cut = platform::FindLastSingleByte(pathText, ':');
    if (cut == std::string::npos)
        return {std::string(), pathText};
    return {pathText.substr(0, cut + 1), pathText.substr(cut + 1)};
}

std::int16_t EndMonthFromText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Only the low 16 bits survive the store, so accumulating modulo 2^16 gives the same value
    // without overflowing on a long run of digits.
    std::uint16_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = static_cast<std::uint16_t>(value * 10u + static_cast<unsigned>(text[i] - '0'));
    if (negative)
        value = static_cast<std::uint16_t>(0u - value);
    return static_cast<std::int16_t>(value);
}

EnterAction DecideEnter(Control focus, const EnterState& state) {
    switch (focus) {
    case Control::EndMonth:
        return EnterAction::FocusTaxIncluded;
    case Control::TaxIncluded:
        if (state.outputPathEnabled && state.browseEnabled)
            return EnterAction::FocusOutputPath;
        return state.previousEnabled ? EnterAction::FocusPrevious : EnterAction::FocusNext;
    case Control::OutputPath:
        return EnterAction::FocusBrowse;
    case Control::Browse:
        return state.browseEnabled ? EnterAction::RunBrowse : EnterAction::None;
    case Control::Other:
        break;
    }
    return EnterAction::None;
}

} // namespace page1
