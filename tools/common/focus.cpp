#include "common/focus.h"

#include "common/text.h"

namespace tools {

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndFocus;
}

bool CanTakeKeys(HWND window) {
    return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window);
}

std::string DescribeFocus(HWND focus) {
    if (focus == nullptr)
        return "no focus";
    wchar_t name[256] = {};
    GetClassNameW(focus, name, 256);
    return "control " + std::to_string(GetDlgCtrlID(focus)) + " (" + WideToUtf8(name) +
           ") visible=" + (IsWindowVisible(focus) ? "yes" : "no") +
           " enabled=" + (IsWindowEnabled(focus) ? "yes" : "no");
}

} // namespace tools
