#include "win32_desktop.h"

#include <windows.h>

namespace platform {

int Win32Desktop::ShowMessage(WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned style) {
    return ::MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

void Win32Desktop::EnableWindow(WindowHandle window, bool enable) {
    ::EnableWindow(static_cast<HWND>(window), enable ? TRUE : FALSE);
}

void Win32Desktop::Post(WindowHandle window, unsigned message, std::intptr_t wParam,
                        std::intptr_t lParam) {
    ::PostMessageA(static_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                   static_cast<LPARAM>(lParam));
}

void Win32Desktop::SetForegroundWindow(WindowHandle window) {
    ::SetForegroundWindow(static_cast<HWND>(window));
}

void Win32Desktop::BeginWaitCursor() {
    ++waitCount_;
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
}

void Win32Desktop::RestoreWaitCursor() {
    if (waitCount_ > 0)
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
}

void Win32Desktop::EndWaitCursor() {
    if (waitCount_ > 0 && --waitCount_ == 0)
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

} // namespace platform
