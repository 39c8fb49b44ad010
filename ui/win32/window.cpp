#include "ui/win32/window.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace win {

void RegisterCommonControls() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void DrawClassic(HWND control) {
    // A class list that names no class: no theme applies.
    ::SetWindowTheme(control, L" ", L" ");
}

std::string Window::GetText() const {
    const int length = ::GetWindowTextLengthA(handle_);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(handle_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace win
