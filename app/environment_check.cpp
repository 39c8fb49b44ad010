#include "app/environment_check.h"

#include "platform/desktop.h"
#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <climits>
#include <cstdlib>

const char kDefinitionFileName[] = "QuorinDef.ini";

namespace {

const char kLevelSection[] = "ProgramLevel";
const char kLevelKey[] = "RV16_G";
const char kLevelDefault[] = "1";
constexpr std::size_t kLevelSize = 16;
constexpr int kRequiredLevel = 3;

struct EnvironmentMessage {
    EnvironmentCode code;
    const char* text;
};

// "ES_APRPACKAGENAME" is replaced by the host's message service with the filing
// application's package name.
const EnvironmentMessage kMessages[] = {
    {kEnvironmentInvalid, texts::kEnvironmentInvalidMessage},
    {kEnvironmentTargetOld, texts::kEnvironmentTargetOldMessage},
    {kEnvironmentTargetNew, texts::kEnvironmentTargetNewMessage},
};

std::string DefinitionFilePath(const std::string& folder) {
    std::string path = folder;
    // The trail byte of a double-byte character (0x95 0x5C is one character) is not a separator.
    if (!path.empty() && !platform::EndsWithBackslash(path))
        path += '\\';
    return path + kDefinitionFileName;
}

// The leading decimal number of the value, as atoi reads it, but held to the range of an int
// so that a long number cannot wrap round to the required level.
int LevelOf(const std::string& value) {
    const long level = std::strtol(value.c_str(), nullptr, 10);
    if (level > INT_MAX)
        return INT_MAX;
    if (level < INT_MIN)
        return INT_MIN;
    return static_cast<int>(level);
}

} // namespace

EnvironmentCode EnvironmentCodeOf(platform::FileSystem& files) {
    const std::string path = DefinitionFilePath(files.CurrentDirectory());
    if (!files.Exists(path))
        return kEnvironmentInvalid;
    const std::string value =
        files.ReadProfileString(kLevelSection, kLevelKey, kLevelDefault, kLevelSize, path);
    if (value.empty())
        return kEnvironmentInvalid;
    const int level = LevelOf(value);
    if (level == kRequiredLevel)
        return kEnvironmentMatches;
    return level < kRequiredLevel ? kEnvironmentTargetOld : kEnvironmentTargetNew;
}

int CheckEnvironment(platform::Host& host, platform::FileSystem& files, HostWnd hostWnd,
                     int showMessages) {
    const EnvironmentCode code = EnvironmentCodeOf(files);
    if (code == kEnvironmentMatches)
        return 1;
    if (showMessages != 0) {
        for (const EnvironmentMessage& message : kMessages) {
            if (message.code == code) {
                host.ShowMessage(hostWnd, message.text, texts::kAppTitle,
                                 platform::kMbIconExclamation | platform::kMbOk);
                break;
            }
        }
    }
    return 0;
}
