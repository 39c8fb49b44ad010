#include "host/hostconn.h"

#include "platform/sjis.h"
#include "standin/calls.h"
#include "standin/config.h"
#include "standin/system.h"

#include <cstring>

namespace {
const char kPlaceholder[] = "ES_APRPACKAGENAME";
} // namespace

ClAccConnect::ClAccConnect() : appTitle{}, ownerWnd(nullptr) {}

ClAccConnect* ClAccConnect::Inst() {
    if (standin::AnswerCall("ClAccConnect::Inst"))
        return nullptr;
    static ClAccConnect instance;
    return &instance;
}

long ClAccConnect::SetAppType(ClSysEnvMgr::_AppType) {
    if (const auto fault = standin::AnswerCall("ClAccConnect::SetAppType"))
        return *fault;
    return 0;
}

long ClAccConnect::SetUseDataType(long) {
    if (const auto fault = standin::AnswerCall("ClAccConnect::SetUseDataType"))
        return *fault;
    return 0;
}

// Fails with the host's message when the configuration or its book could not be read.
long ClAccConnect::Initiate() {
    if (const auto fault = standin::AnswerCall("ClAccConnect::Initiate"))
        return *fault;
    const std::string& problem = standin::LoadProblem();
    if (!problem.empty()) {
        standin::ShowMessage(ownerWnd, problem, appTitle, 0x30);
        return -1;
    }
    return standin::GetConfig().initiateResult;
}

long ClAccConnect::ExpSysLink() {
    if (const auto fault = standin::AnswerCall("ClAccConnect::ExpSysLink"))
        return *fault;
    return standin::GetConfig().expSysLinkResult;
}

unsigned ClAccConnect::DispMsg(HostWnd owner, const char* text, const char* caption,
                               unsigned style) {
    if (const auto fault = standin::AnswerCall("ClAccConnect::DispMsg"))
        return static_cast<unsigned>(*fault);
    // The placeholder is ASCII and every byte of it is below 0x80, so a match can only start
    // at a character boundary when the scan steps over double-byte characters.
    std::string shown;
    const std::size_t placeholderLength = std::strlen(kPlaceholder);
    for (const char* p = text; *p != '\0';) {
        if (std::strncmp(p, kPlaceholder, placeholderLength) == 0) {
            shown += standin::GetConfig().packageName;
            p += placeholderLength;
            continue;
        }
        const bool lead = platform::IsLeadByte(static_cast<unsigned char>(*p));
        shown.push_back(*p++);
        if (lead && *p != '\0')
            shown.push_back(*p++);
    }
    return standin::ShowMessage(owner, shown, caption, style);
}

int ClAccConnect::LogOut() {
    if (const auto fault = standin::AnswerCall("ClAccConnect::LogOut"))
        return static_cast<int>(*fault);
    return 0;
}

void ClAccConnect::Terminate() {
    static_cast<void>(standin::AnswerCall("ClAccConnect::Terminate"));
}

void ClAccConnect::Release() {
    static_cast<void>(standin::AnswerCall("ClAccConnect::Release"));
}
