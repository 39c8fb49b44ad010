// The host accounting application as the program uses it: one table of methods over the host's
// libraries. The program reaches the host only through it; the Windows programs hand it the host
// libraries (platform/hostlib), tests an in-memory model. Results of host calls are the host's
// own: 0 for success, another code otherwise.
#pragma once

#include "host/hostapi.h"
#include "host/records.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// The host's cursor over the monthly account totals of one company data. MoveNext gives
// kHostEndOfRows after the last row.
class AccountTotalCursor {
  public:
    virtual ~AccountTotalCursor() = default;
    // terms: the month terms end to end, the last with link 0.
    virtual long MoveReady(const StFINDINFO* terms) = 0;
    virtual long GetSumCount(long* count) = 0;
    virtual long SetMovePos(long position) = 0;
    virtual long MoveNext(StKAMOKUSUMINFO* row) = 0;
    virtual long MoveFinish() = 0;
};

// One walk of the host's account master; the host's cursor is released with the object.
class AccountMasterWalk {
  public:
    virtual ~AccountMasterWalk() = default;
    // 0 with the next account; another code when none is left.
    virtual long Walk(StKAMOKUINFO* account) = 0;
    // As Walk, over the accounts that match terms (laid end to end, the last with link 0).
    virtual long WalkFind(const StFINDINFO* terms, StKAMOKUINFO* account) = 0;
};

// The logged-in host user and the two numbers of the company data selection.
struct HostUser {
    std::string id;
    long first = 0;
    long dataNo = 0;
};

// The host's folders.
enum class HostFolder : long { kDefaultOutput = 0, kSettings = 1 };

class Host {
  public:
    virtual ~Host() = default;

    // The connection. Connect gives the caption of the host's own dialogs, declares the
    // edition's application type and connects to the host's data (Initiate's result).
    virtual long Connect(const char* appTitle, long appType) = 0;
    // Owner of the host's own dialogs from now on.
    virtual void SetOwnerWindow(HostWnd owner) = 0;
    // 0: the link may proceed.
    virtual long LinkPermission() = 0;
    // Logs out, terminates and releases the connection; once, at exit.
    virtual void Disconnect() = 0;
    // The host's message service: shows text modally.
    virtual unsigned ShowMessage(HostWnd owner, const char* text, const char* caption,
                                 unsigned style) = 0;

    // The record of the company data open in the host; false when the host has no data sets.
    virtual bool SelectedData(StDATAINFO& record) = 0;
    // Visits the record of every company data until visit returns false; false when the host
    // has no data sets.
    virtual bool ForEachDataSet(const std::function<bool(const StDATAINFO&)>& visit) = 0;
    // False when the host has no user object.
    virtual bool CurrentUser(HostUser& user) = 0;

    // A walk of the account master; null when the host has none.
    virtual std::unique_ptr<AccountMasterWalk> OpenAccountMaster() = 0;
    // The account-total cursor bound to the company data dataId; null when it cannot be had.
    virtual std::unique_ptr<AccountTotalCursor> OpenAccountTotals(const char* dataId) = 0;
    // The consumption-tax settings of the company data dataId.
    virtual long TaxSettings(const char* dataId, StSHOHIZEIINFO* settings) = 0;
    // Stores in month the accounting month (1 to 12) of a yyyymmdd date in the period from start
    // to end; month is left as it is when the host cannot tell.
    virtual long AccountingMonth(std::int32_t start, std::int32_t end, std::int32_t date,
                                 std::int16_t* month) = 0;

    // The folder of the type: null or empty when there is none. The text stays valid until the
    // next call: copy it at once.
    virtual const char* FolderPath(HostFolder folder) = 0;
    // Releases the host's folder service; when the condition sheet goes.
    virtual void ReleaseFolders() = 0;
};

} // namespace platform
