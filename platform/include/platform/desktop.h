// The few window-system services that the portable code calls. The Win32 implementation is
// a thin forwarder; tests use a recording double.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = void*;

// Message box styles and results, with the values of the Win32 API.
enum MessageStyle : unsigned {
    kMbOk = 0x0,
    kMbYesNo = 0x4,
    kMbIconQuestion = 0x20,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
    kMbDefButton2 = 0x100,
};
enum MessageResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class Desktop {
  public:
    virtual ~Desktop() = default;

    // text and caption are Shift_JIS.
    virtual int ShowMessage(WindowHandle owner, const std::string& text, const std::string& caption,
                            unsigned style) = 0;
    virtual void EnableWindow(WindowHandle window, bool enable) = 0;
    virtual void Post(WindowHandle window, unsigned message, std::intptr_t wParam,
                      std::intptr_t lParam) = 0;
    virtual void SetForegroundWindow(WindowHandle window) = 0;
    // The hourglass cursor while long work runs; Restore re-applies it after a modal window.
    virtual void BeginWaitCursor() = 0;
    virtual void RestoreWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

} // namespace platform
