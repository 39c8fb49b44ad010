#include "standin/system.h"

namespace standin {

namespace {
std::vector<ShownMessage>& Log() {
    static std::vector<ShownMessage> log;
    return log;
}
} // namespace

unsigned ShowMessage(HostWnd owner, const std::string& text, const std::string& caption,
                     unsigned style) {
    Log().push_back({owner, text, caption, style});
    return SystemMessageBox(owner, text, caption, style);
}

const std::vector<ShownMessage>& ShownMessages() {
    return Log();
}
void ClearShownMessages() {
    Log().clear();
}

} // namespace standin
