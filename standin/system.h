// The few system services of the stand-in host itself.
#pragma once

#include "host/hostapi.h"

#include <string>
#include <vector>

namespace standin {

// UTF-8 to code page 932; characters without a code become '?'.
std::string Utf8ToSjis(const std::string& utf8);

// A modal message box on Windows; nothing elsewhere.
unsigned SystemMessageBox(HostWnd owner, const std::string& text, const std::string& caption,
                          unsigned style);

// Holds the calling thread back for the given time. On Windows the messages that other threads
// send to its windows are answered meanwhile (posted ones wait), so that a run held back row by
// row can still be looked at from outside.
void HoldBack(long milliseconds);

// Shows a host message: recorded, then SystemMessageBox.
unsigned ShowMessage(HostWnd owner, const std::string& text, const std::string& caption,
                     unsigned style);

// Messages shown so far in this process (for native tests).
struct ShownMessage {
    HostWnd owner;
    std::string text;
    std::string caption;
    unsigned style;
};
const std::vector<ShownMessage>& ShownMessages();
void ClearShownMessages();

} // namespace standin
