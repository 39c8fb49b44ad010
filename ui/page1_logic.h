// Page 1's decisions without window code: the path split of the file dialog, the conversion
// of the end-month text and the Enter chain.
#pragma once

#include <cstdint>
#include <string>

namespace page1 {

// The folder and file name the file dialog opens with: split after the last '\', or, when
// there is none, after the last ':' (no folder when there is neither).
struct BrowseStart {
    std::string folder;
    std::string fileName;
};
BrowseStart SplitForBrowse(const std::string& pathText);

// The end month as atoi reads the field's text: leading blanks, an optional sign, the leading
// digits; 0 when there are none. Values beyond the 16 bits of the field are cut to 16 bits as
// the record stores them.
std::int16_t EndMonthFromText(const std::string& text);

// Where Enter moves the focus, by the control that has it.
enum class Control { EndMonth, TaxIncluded, OutputPath, Browse, Other };
enum class EnterAction {
    None, // not one of the chain's controls: Enter goes on to the sheet
    FocusTaxIncluded,
    FocusOutputPath, // with the whole text selected and the insertion point in view
    FocusPrevious,   // the sheet's previous button
    FocusNext,       // the sheet's next button
    FocusBrowse,
    RunBrowse,
};
struct EnterState {
    bool outputPathEnabled = true;
    bool browseEnabled = true;
    bool previousEnabled = false;
};
EnterAction DecideEnter(Control focus, const EnterState& state);

} // namespace page1
