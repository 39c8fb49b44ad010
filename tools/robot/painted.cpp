#include "robot/painted.h"

#include "common/text.h"
#include "robot/windows.h"

#include <cstdint>
#include <vector>

namespace robot {

namespace {

// Nothing waits to be painted in the window (its update region is empty).
bool Drawn(HWND window) {
    return GetUpdateRect(window, nullptr, FALSE) == FALSE;
}

// The window's thread fetches messages: it is waiting for input, not in the middle of work.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result) != 0;
}

BOOL CALLBACK AddVisibleChild(HWND child, LPARAM list) {
    if (IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::wstring Place(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(window)) + L"@" +
           std::to_wstring(rect.left) + L"," + std::to_wstring(rect.top) + L"," +
           std::to_wstring(rect.right) + L"," + std::to_wstring(rect.bottom) + L";";
}

std::string Named(HWND window) {
    return tools::WideToUtf8(ClassOf(window)) + " \"" + tools::WideToUtf8(TextOf(window)) + "\"";
}

} // namespace

std::vector<HWND> ProgramWindows(DWORD pid, HWND host) {
    std::vector<HWND> windows = TopWindows(pid);
    if (host == nullptr)
        return windows;
    std::vector<HWND> placed;
    EnumChildWindows(host, AddVisibleChild, reinterpret_cast<LPARAM>(&placed));
    for (HWND window : placed) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && GetParent(window) == host)
            windows.push_back(window);
    }
    return windows;
}

PaintState ReadPaintState(const std::vector<HWND>& windows, bool busyAllowed) {
    PaintState state;
    if (windows.empty()) {
        state.why = "no visible window";
        return state;
    }
    bool first = true;
    for (HWND window : windows) {
        if (!busyAllowed && !Answers(window)) {
            state.why = "window " + Named(window) + " does not answer yet";
            return state;
        }
        RECT rect = {};
        GetWindowRect(window, &rect);
        if (first)
            state.area = rect;
        else
            UnionRect(&state.area, &state.area, &rect);
        first = false;
        state.shown.push_back(rect);
        if (!Drawn(window)) {
            state.why = "window " + Named(window) + " has something left to paint";
            return state;
        }
        state.signature += Place(window);
        std::vector<HWND> controls;
        EnumChildWindows(window, AddVisibleChild, reinterpret_cast<LPARAM>(&controls));
        for (HWND control : controls) {
            if (!Drawn(control)) {
                state.why = "control " + Named(control) + " has something left to paint";
                return state;
            }
            state.signature += Place(control);
        }
    }
    state.painted = true;
    return state;
}

} // namespace robot
