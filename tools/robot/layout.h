// Whether a program's windows are laid out so that every text can be read: no control's text cut
// off by the control's rectangle, no two controls overlapping, no control reaching out of its
// window (the robot's expect-layout command; it matters most at 120 and 144 DPI, where fonts do
// not grow in the same steps as dialog units).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// The font of a dialog template (DS_SETFONT): face and size in points.
struct DialogFont {
    std::wstring face;
    int points = 0;
    int weight = 0;
    bool italic = false;
};

// The screen's dots per inch, as the calling process sees them.
int SystemDpi();

// The one font that every dialog template of the program file uses. False, with the reason in
// why, when the file cannot be read, has no template with a font, or its templates differ.
bool ReadDialogFont(const std::wstring& program, DialogFont& font, std::string& why);

// The faults of the windows' layout, one line each; empty when there are none. Controls of a
// message box are measured with the system's message font, all others with dialogFont at the
// system's DPI.
std::vector<std::string> LayoutFaults(const std::vector<HWND>& windows,
                                      const DialogFont& dialogFont);

} // namespace robot
