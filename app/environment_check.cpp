#include "app/environment_check.h"

#include "platform/decimal.h"
#include "platform/desktop.h"
#include "platform/sjis.h"
#include "texts/catalogue.h"

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

// The leading decimal number of the value, held to the range of an int so that a long number
// cannot wrap round to the required level.
int LevelOf(const std::string& value) {
    return platform::LeadingDecimal(value).Clamped<int>();
}

// What the definition file in files' current directory says.
struct Definition {
    EnvironmentCode code = kEnvironmentInvalid;
    std::string path;
    // The level read; meaningful for the codes that compare it.
    int level = 0;
    bool exists = false;
};

Definition ReadDefinition(platform::FileSystem& files) {
    Definition definition;
    definition.path = DefinitionFilePath(files.CurrentDirectory());
    definition.exists = files.Exists(definition.path);
    if (!definition.exists)
        return definition;
    const std::string value = files.ReadProfileString(kLevelSection, kLevelKey, kLevelDefault,
                                                      kLevelSize, definition.path);
    if (value.empty())
        return definition;
    definition.level = LevelOf(value);
    if (definition.level == kRequiredLevel)
        definition.code = kEnvironmentMatches;
    else
        definition.code =
            definition.level < kRequiredLevel ? kEnvironmentTargetOld : kEnvironmentTargetNew;
    return definition;
}

} // namespace

void ShowEnvironmentMessage(platform::Host& host, HostWnd hostWnd, EnvironmentCode code) {
    for (const EnvironmentMessage& message : kMessages) {
        if (message.code == code) {
            // The run ends with the environment's own cause whether or not the host's message
            // service could show it.
            static_cast<void>(host.ShowMessage(hostWnd, message.text, texts::kAppTitle,
                                               platform::kMbIconExclamation | platform::kMbOk));
            return;
        }
    }
}

platform::Status CheckEnvironment(platform::Host& host, platform::FileSystem& files,
                                  HostWnd hostWnd, int showMessages) {
    const Definition definition = ReadDefinition(files);
    if (definition.code == kEnvironmentMatches)
        return platform::Status();
    if (showMessages != 0)
        ShowEnvironmentMessage(host, hostWnd, definition.code);
    if (definition.code != kEnvironmentInvalid)
        return platform::Status::RangeRefused("definition-level", definition.level);
    return platform::Status::BadFile("definition-file", definition.path,
                                     definition.exists ? std::string("[") + kLevelSection + "] " +
                                                             kLevelKey + " empty"
                                                       : std::string("no file"));
}
