#ifdef _WIN32
#include "standin/system.h"

#include <windows.h>

namespace standin {

std::string Utf8ToSjis(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int wide =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &w[0], wide);
    const int narrow = WideCharToMultiByte(932, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(932, 0, w.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

unsigned SystemMessageBox(HostWnd owner, const std::string& text, const std::string& caption,
                          unsigned style) {
    return static_cast<unsigned>(
        MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style));
}

void HoldBack(long milliseconds) {
    const DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < static_cast<DWORD>(milliseconds);
         passed = GetTickCount() - start) {
        // Wakes for a sent message only; PeekMessage answers it and leaves posted ones queued.
        if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds) - passed,
                                        QS_SENDMESSAGE, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

} // namespace standin
#endif
