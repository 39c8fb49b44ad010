// Win32 forwarders of the platform's desktop services.
#pragma once

#include "platform/desktop.h"

namespace platform {

class Win32Desktop : public Desktop {
  public:
    int ShowMessage(WindowHandle owner, const std::string& text, const std::string& caption,
                    unsigned style) override;
    void EnableWindow(WindowHandle window, bool enable) override;
    void Post(WindowHandle window, unsigned message, std::intptr_t wParam,
              std::intptr_t lParam) override;
    void SetForegroundWindow(WindowHandle window) override;
    void BeginWaitCursor() override;
    void RestoreWaitCursor() override;
    void EndWaitCursor() override;

  private:
    int waitCount_ = 0;
};

} // namespace platform
