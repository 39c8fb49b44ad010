// The host's folder manager and message service.
#include "host/msgdesk.h"
#include "host/pathdesk.h"
#include "standin/calls.h"
#include "standin/config.h"

#include <string>

ClFileMgr::ClFileMgr() = default;

ClFileMgr* ClFileMgr::Inst() {
    if (standin::AnswerCall("ClFileMgr::Inst"))
        return nullptr;
    static ClFileMgr instance;
    return &instance;
}

// Type 0: the default output folder (empty when none); type 1: the settings folder. Other
// types have no folder.
const char* ClFileMgr::GetAppFolderPath(long type) {
    if (standin::AnswerCall("ClFileMgr::GetAppFolderPath"))
        return nullptr;
    static std::string folder;
    const standin::Config& config = standin::GetConfig();
    folder = type == kDefaultOutput ? config.outputFolder
             : type == kSettings    ? config.settingsFolder
                                    : std::string();
    return folder.c_str();
}

void ClFileMgr::Release() {
    static_cast<void>(standin::AnswerCall("ClFileMgr::Release"));
}

ClMsgMgr::ClMsgMgr() : lastError_(0) {}

ClMsgMgr* ClMsgMgr::Inst() {
    if (standin::AnswerCall("ClMsgMgr::Inst"))
        return nullptr;
    static ClMsgMgr instance;
    return &instance;
}

void ClMsgMgr::SetLastError(long code, const char*, long) {
    static_cast<void>(standin::AnswerCall("ClMsgMgr::SetLastError"));
    lastError_ = code;
}

long ClMsgMgr::GetLastError() const {
    if (const auto fault = standin::AnswerCall("ClMsgMgr::GetLastError"))
        return *fault;
    return lastError_;
}
