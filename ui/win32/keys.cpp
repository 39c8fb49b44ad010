#include "ui/win32/keys.h"

namespace win {

namespace {

bool KeyIsDown(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

pages::MessageKind KindOfMessage(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return pages::MessageKind::kKeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return pages::MessageKind::kKeyUp;
    case WM_CHAR:
    case WM_SYSCHAR:
        return pages::MessageKind::kChar;
    case WM_MOUSEMOVE:
        return pages::MessageKind::kMouseMove;
    default:
        return pages::MessageKind::kOther;
    }
}

bool IsKeyMessage(UINT message) {
    const pages::MessageKind kind = KindOfMessage(message);
    return kind == pages::MessageKind::kKeyDown || kind == pages::MessageKind::kKeyUp;
}

sheet::Modifiers HeldModifiers() {
    return sheet::Modifiers{KeyIsDown(VK_SHIFT), KeyIsDown(VK_CONTROL), KeyIsDown(VK_MENU)};
}

} // namespace win
