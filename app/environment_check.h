// The check that the installed tax-form filing application is at the level this link
// component was made for, by the level in its definition file in the program's folder.
#pragma once

#include "platform/filesystem.h"
#include "platform/host.h"
#include "platform/status.h"

// The definition file of the filing application, looked for in the current directory.
extern const char kDefinitionFileName[];

enum EnvironmentCode : int {
    kEnvironmentInvalid = -1,  // no definition file, or an empty level
    kEnvironmentMatches = 0,   // level 3
    kEnvironmentTargetOld = 1, // a lower level: the filing application needs updating
    kEnvironmentTargetNew = 2, // a higher level: this link component needs updating
};

// Success when the environment matches. Otherwise, after showing the code's message through the
// host's message service (owner hostWnd, null when none) when showMessages is non-zero, refused:
// a bad definition file (no file, or an empty level) or a level out of range (the level).
[[nodiscard]] platform::Status CheckEnvironment(platform::Host& host, platform::FileSystem& files,
                                                HostWnd hostWnd, int showMessages);

// Shows the message of a code other than kEnvironmentMatches through the host's message service.
void ShowEnvironmentMessage(platform::Host& host, HostWnd hostWnd, EnvironmentCode code);
