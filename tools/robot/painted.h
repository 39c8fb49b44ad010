// Whether a program's windows have been drawn, so that a picture of them shows no half-painted
// window (the robot's snap command).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace robot {

struct PaintState {
    // Every visible top-level window of the program and every visible control in them has
    // nothing left to paint, and each window's thread answers unless it may be busy.
    bool painted = false;
    // Why not, for the failure message.
    std::string why;
    // The windows and their visible controls with their places: equal signatures mean that
    // nothing appeared, went or moved in between.
    std::wstring signature;
    // The screen rectangle that holds the visible windows, and their own rectangles.
    RECT area = {};
    std::vector<RECT> shown;
};

// The program's visible windows: its top-level windows, and those it placed in the host window
// (the progress window of a host-started run), which are no longer top-level.
std::vector<HWND> ProgramWindows(DWORD pid, HWND host);

// The state of the program's windows. busyAllowed: a window whose thread works without pumping
// messages (the progress window, which the program repaints itself) need not answer.
PaintState ReadPaintState(const std::vector<HWND>& windows, bool busyAllowed);

} // namespace robot
