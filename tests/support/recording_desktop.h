// A desktop for native tests: records every call, in order, as a line of text that a test can
// compare with a declared list, and answers message boxes from a script.
#pragma once

#include "platform/desktop.h"

#include <deque>
#include <string>
#include <vector>

namespace testsupport {

class RecordingDesktop : public platform::Desktop {
  public:
    struct Box {
        platform::WindowHandle owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    // Calls, one line each:
    //   "message <owner> <style>"            (the texts are in boxes)
    //   "enable <window>" / "disable <window>"
    //   "post <window> <message> <wParam> <lParam>"   (wParam and lParam as signed numbers)
    //   "foreground <window>"
    //   "wait-cursor on" / "wait-cursor restore" / "wait-cursor off"
    // Windows are written in hexadecimal ("0x10002"; null is "0").
    std::vector<std::string> calls;
    std::vector<Box> boxes;
    // Answers of the next message boxes; when none is left, OK boxes answer kIdOk and Yes/No
    // boxes kIdNo.
    std::deque<int> answers;
    // The message box numbered throwAtBox (from 1; 0: none) is recorded and then throws a
    // std::runtime_error, as a window that cannot be made.
    int throwAtBox = 0;

    // The calls that concern window (enable, disable, post, foreground), in order.
    std::vector<std::string> CallsOn(platform::WindowHandle window) const;
    static std::string Name(platform::WindowHandle window);

    int ShowMessage(platform::WindowHandle owner, const std::string& text,
                    const std::string& caption, unsigned style) override;
    void EnableWindow(platform::WindowHandle window, bool enable) override;
    void Post(platform::WindowHandle window, unsigned message, std::intptr_t wParam,
              std::intptr_t lParam) override;
    void SetForegroundWindow(platform::WindowHandle window) override;
    void BeginWaitCursor() override;
    void RestoreWaitCursor() override;
    void EndWaitCursor() override;
};

} // namespace testsupport
