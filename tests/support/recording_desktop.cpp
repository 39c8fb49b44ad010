#include "support/recording_desktop.h"

#include "support/portable/uncounted.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace testsupport {

std::string RecordingDesktop::Name(platform::WindowHandle window) {
    if (window == nullptr)
        return "0";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
    return text;
}

std::vector<std::string> RecordingDesktop::CallsOn(platform::WindowHandle window) const {
    std::vector<std::string> on;
    for (const std::string& call : calls) {
        std::istringstream words(call);
        std::string kind;
        std::string target;
        words >> kind >> target;
        if (kind != "message" && kind != "wait-cursor" && target == Name(window))
            on.push_back(call);
    }
    return on;
}

int RecordingDesktop::ShowMessage(platform::WindowHandle owner, const std::string& text,
                                  const std::string& caption, unsigned style) {
    const UncountedScope uncounted;
    calls.push_back("message " + Name(owner) + " " + std::to_string(style));
    boxes.push_back({owner, text, caption, style});
    if (static_cast<int>(boxes.size()) == throwAtBox)
        throw std::runtime_error("message box " + std::to_string(throwAtBox));
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & platform::kMbYesNo) != 0 ? platform::kIdNo : platform::kIdOk;
}

void RecordingDesktop::EnableWindow(platform::WindowHandle window, bool enable) {
    const UncountedScope uncounted;
    calls.push_back((enable ? "enable " : "disable ") + Name(window));
}

void RecordingDesktop::Post(platform::WindowHandle window, unsigned message, std::intptr_t wParam,
                            std::intptr_t lParam) {
    const UncountedScope uncounted;
    calls.push_back("post " + Name(window) + " " + std::to_string(message) + " " +
                    std::to_string(static_cast<long long>(wParam)) + " " +
                    std::to_string(static_cast<long long>(lParam)));
}

void RecordingDesktop::SetForegroundWindow(platform::WindowHandle window) {
    const UncountedScope uncounted;
    calls.push_back("foreground " + Name(window));
}

void RecordingDesktop::BeginWaitCursor() {
    const UncountedScope uncounted;
    calls.push_back("wait-cursor on");
}
void RecordingDesktop::RestoreWaitCursor() {
    const UncountedScope uncounted;
    calls.push_back("wait-cursor restore");
}
void RecordingDesktop::EndWaitCursor() {
    const UncountedScope uncounted;
    calls.push_back("wait-cursor off");
}

} // namespace testsupport
