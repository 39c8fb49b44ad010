// floordialog: the least a dialog program can do under Wine, the floor that scripts/bench-e2e.sh
// measures the link programs' start against. It shows one dialog, titled "floor", with one OK
// button, and ends when the dialog is closed.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

// Appends a UTF-16 text with its terminating NUL to a dialog template.
WORD* PutText(WORD* at, const wchar_t* text) {
    const std::size_t length = std::wcslen(text) + 1;
    std::memcpy(at, text, length * sizeof(wchar_t));
    return at + length;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A template in memory: the dialog, then its one button (items DWORD-aligned).
    alignas(DWORD) WORD buffer[256] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    dialog->cdit = 1;
    dialog->cx = 120;
    dialog->cy = 50;
    WORD* at = reinterpret_cast<WORD*>(dialog + 1);
    *at++ = 0; // no menu
    *at++ = 0; // the predefined dialog class
    at = PutText(at, L"floor");
    at = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~ULONG_PTR{3});
    auto* button = reinterpret_cast<DLGITEMTEMPLATE*>(at);
    button->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    button->x = 35;
    button->y = 16;
    button->cx = 50;
    button->cy = 14;
    button->id = IDOK;
    at = reinterpret_cast<WORD*>(button + 1);
    *at++ = 0xFFFF; // a predefined class:
    *at++ = 0x0080; // button
    at = PutText(at, L"OK");
    *at = 0; // no creation data
    DialogBoxIndirectParamW(instance, dialog, nullptr, DialogProc, 0);
    return 0;
}
