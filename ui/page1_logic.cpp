#include "ui/page1_logic.h"

#include "platform/decimal.h"
#include "platform/sjis.h"

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
    // Only the low 16 bits survive the store into the field.
    return platform::LeadingDecimal(text).Wrapped<std::int16_t>();
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
