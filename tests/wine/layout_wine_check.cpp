// Checks under Wine of the robot's layout check (expect-layout): a window laid out well has no
// faults, and one with a text cut off, two buttons on top of each other and a control reaching
// out of the window has each of them reported. Console program; exit status 0 when every check
// passed.
#include "robot/layout.h"
#include "tests/wine/wine_check.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using winecheck::Check;

HWND Child(HWND parent, const wchar_t* type, const wchar_t* text, DWORD style, int id, int x, int y,
           int width, int height) {
    return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
}

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults)
        text += (text.empty() ? "" : " | ") + fault;
    return text.empty() ? "none" : text;
}

// One of the faults names every one of parts.
bool Has(const std::vector<std::string>& faults, const std::vector<std::string>& parts) {
    for (const std::string& fault : faults) {
        bool all = true;
        for (const std::string& part : parts)
            all = all && fault.find(part) != std::string::npos;
        if (all)
            return true;
    }
    return false;
}

} // namespace

int main() {
    robot::DialogFont font;
    font.face = L"Tahoma";
    font.points = 9;
    font.weight = FW_NORMAL;
    HWND window = CreateWindowExW(0, L"Static", L"layout", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    Child(window, L"Button", L"OK", BS_DEFPUSHBUTTON, IDOK, 10, 10, 120, 40);
    Child(window, L"Static", L"Text", SS_LEFT, 100, 10, 60, 200, 40);
    const std::vector<std::string> clean = robot::LayoutFaults({window}, font);
    Check(clean.empty(), "a window laid out well has no faults", Joined(clean));

    Child(window, L"Static", L"A text far too long for its place", SS_LEFT, 101, 10, 110, 30, 12);
    Child(window, L"Button", L"Cancel", BS_PUSHBUTTON, IDCANCEL, 100, 20, 120, 40);
    Child(window, L"Button", L"Help", BS_PUSHBUTTON, 102, 350, 150, 120, 40);
    const std::vector<std::string> faults = robot::LayoutFaults({window}, font);
    Check(Has(faults, {"Static 101 \"A text far too long for its place\": the text needs "}),
          "a text cut off is reported", Joined(faults));
    Check(Has(faults, {"Button 1 \"OK\"", "Button 2 \"Cancel\"", " overlap by "}),
          "two buttons on top of each other are reported", Joined(faults));
    Check(Has(faults, {"Button 102 \"Help\": reaches out of "}),
          "a control reaching out of its window is reported", Joined(faults));
    Check(faults.size() == 3, "nothing else is reported", Joined(faults));
    DestroyWindow(window);
    return winecheck::Failures() == 0 ? 0 : 1;
}
