#include "standin/calls.h"

#include "standin/config.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace standin {
namespace {

const char* const kHostMethods[] = {
    "ClAccConnect::Inst",
    "ClAccConnect::SetAppType",
    "ClAccConnect::SetUseDataType",
    "ClAccConnect::Initiate",
    "ClAccConnect::ExpSysLink",
    "ClAccConnect::DispMsg",
    "ClAccConnect::LogOut",
    "ClAccConnect::Terminate",
    "ClAccConnect::Release",
    "ClDataMgr::Inst",
    "ClDataMgr::GetSetObject",
    "ClDataMgr::GetSetMgr",
    "ClDataMgr::GetSysUserObject",
    "ClLinkMgr::Inst",
    "ClLinkMgr::GetOptLink",
    "ClFileMgr::Inst",
    "ClFileMgr::GetAppFolderPath",
    "ClFileMgr::Release",
    "ClMsgMgr::Inst",
    "ClMsgMgr::SetLastError",
    "ClMsgMgr::GetLastError",
    "ClSetBase::AttachSetMgr",
    "ClSetBase::SetCurDataID",
    "ClSetData::GetSelectedInfo",
    "ClSetData::GetDatCursor",
    "ClSetData::ReadyDat",
    "ClSetData::WalkDat",
    "ClSetData::ReleaseDatCursor",
    "ClSetKamoku::GetCursor",
    "ClSetKamoku::ReadyCursor",
    "ClSetKamoku::Walk",
    "ClSetKamoku::WalkFind",
    "ClSetKamoku::ReleaseCursor",
    "ClSetShohizei::Get",
    "ClRuleBase::AttachSetMgr",
    "ClRuleBase::SetCurDataID",
    "ClRuleBase::AttachOptLink",
    "ClRuleKamoku::MoveReady",
    "ClRuleKamoku::GetSumCount",
    "ClRuleKamoku::SetMovePos",
    "ClRuleKamoku::MoveNext",
    "ClRuleKamoku::MoveFinish",
    "ClAccPeriod::SetPeriod",
    "ClAccPeriod::GetClosingDayByEndDate",
    "ClAccPeriod::SetClosingDay",
    "ClAccPeriod::GetAMonthByDate",
    "ClSysUser::GetCurUserID",
    "ClSysUser::GetSelectedNo",
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct Calls {
    int own = 0;
    std::map<std::string, long> counts;
    std::unique_ptr<std::FILE, FileCloser> log;
    bool logOpened = false;
};

Calls& State() {
    static Calls calls;
    return calls;
}

} // namespace

bool IsHostMethod(const std::string& method) {
    return std::find(std::begin(kHostMethods), std::end(kHostMethods), method) !=
           std::end(kHostMethods);
}

std::optional<long> AnswerCall(const char* method) {
    const Faults& faults = GetConfig().faults;
    // Without faults to watch, a call costs nothing: the account-total cursor answers one for
    // every row of a book.
    Calls& calls = State();
    if ((faults.failCallMethod.empty() && faults.callLogPath.empty()) || calls.own > 0)
        return std::nullopt;
    const long n = ++calls.counts[method];
    if (!faults.callLogPath.empty()) {
        if (!calls.logOpened) {
            calls.logOpened = true;
            calls.log.reset(std::fopen(faults.callLogPath.c_str(), "ab"));
        }
        if (calls.log) {
            std::fprintf(calls.log.get(), "%s %ld\n", method, n);
            std::fflush(calls.log.get());
        }
    }
    if (faults.failCallMethod == method && faults.failCallNth == n)
        return faults.failCallCode;
    return std::nullopt;
}

OwnCalls::OwnCalls() {
    ++State().own;
}

OwnCalls::~OwnCalls() {
    --State().own;
}

void ResetCalls() {
    Calls& calls = State();
    calls.counts.clear();
    calls.log.reset();
    calls.logOpened = false;
}

} // namespace standin
