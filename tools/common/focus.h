// The keyboard focus of another process's GUI thread, as the robot and the random-input driver
// check it: a program must never leave its focus on a window the user cannot see or use.
#pragma once

#include <windows.h>

#include <string>

namespace tools {

// The focused window of the thread that owns window; null when that thread has no focus.
HWND FocusOf(HWND window);
// Visible (with all its ancestors) and enabled: a window that can take the user's keys.
bool CanTakeKeys(HWND window);
// "control 1002 (Edit) visible=yes enabled=no", for failure messages.
std::string DescribeFocus(HWND focus);

} // namespace tools
