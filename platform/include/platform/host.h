// The host accounting application as the program uses it: one table of methods over the host's
// libraries. The program reaches the host only through it; the Windows programs hand it the host
// libraries (platform/hostlib), tests an in-memory model. Every method answers with a Status: a
// host call that failed gives Status::HostRefused with the host method's name as the step and the
// host's code (0 when the host answered with no object where it should have given one).
#pragma once

#include "host/hostapi.h"
#include "host/records.h"
#include "platform/status.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// The host's cursor over the monthly account totals of one company data.
class AccountTotalCursor {
  public:
    virtual ~AccountTotalCursor() = default;
    // terms: the month terms end to end, the last with link 0.
    virtual Status MoveReady(const StFINDINFO* terms) = 0;
    virtual Status GetSumCount(long& count) = 0;
    virtual Status SetMovePos(long position) = 0;
    // more: true with the next row in row, false after the last row.
    virtual Status MoveNext(StKAMOKUSUMINFO& row, bool& more) = 0;
    virtual Status MoveFinish() = 0;
};

// The logged-in host user and the two numbers of the company data selection.
struct HostUser {
    std::string id;
    long first = 0;
    long dataNo = 0;
};

// The host's folders.
enum class HostFolder : long { kDefaultOutput = 0, kSettings = 1 };

// Visitors of host records: true goes on to the next record, false ends the walk there.
using DataSetVisit = std::function<bool(const StDATAINFO&)>;
using AccountVisit = std::function<bool(const StKAMOKUINFO&)>;

class Host {
  public:
    virtual ~Host() = default;

    // The connection. Connect gives the caption of the host's own dialogs, declares the
    // edition's application type and connects to the host's data (Initiate).
    virtual Status Connect(const char* appTitle, long appType) = 0;
    // Owner of the host's own dialogs from now on.
    virtual Status SetOwnerWindow(HostWnd owner) = 0;
    // ExpSysLink: success when the link may proceed; else its code.
    virtual Status LinkPermission() = 0;
    // Logs out, terminates and releases the connection; once, at exit.
    virtual Status Disconnect() = 0;
    // The host's message service: shows text modally.
    virtual Status ShowMessage(HostWnd owner, const char* text, const char* caption,
                               unsigned style) = 0;

    // The record of the company data open in the host.
    virtual Status SelectedData(StDATAINFO& record) = 0;
    // Visits the record of every company data in the host's order.
    virtual Status ForEachDataSet(const DataSetVisit& visit) = 0;
    virtual Status CurrentUser(HostUser& user) = 0;

    // Visits the accounts of the account master in the host's order: all of them, or, with
    // terms (laid end to end, the last with link 0), those the host's find matches.
    virtual Status ForEachAccount(const StFINDINFO* terms, const AccountVisit& visit) = 0;
    // The account-total cursor bound to the company data dataId.
    virtual Status OpenAccountTotals(const char* dataId,
                                     std::unique_ptr<AccountTotalCursor>& cursor) = 0;
    // The consumption-tax settings of the company data dataId.
    virtual Status TaxSettings(const char* dataId, StSHOHIZEIINFO& settings) = 0;
    // The accounting month (1 to 12) of a yyyymmdd date in the period from start to end, under
    // the closing day that the host derives from the end date.
    virtual Status AccountingMonth(std::int32_t start, std::int32_t end, std::int32_t date,
                                   std::int16_t& month) = 0;

    // The folder of the type, copied: empty when the host has none.
    virtual Status FolderPath(HostFolder folder, std::string& path) = 0;
    // Releases the host's folder service; when the condition sheet goes.
    virtual Status ReleaseFolders() = 0;
};

} // namespace platform
