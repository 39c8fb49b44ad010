// An in-memory host for unit tests: company data, a user, an account master, the rows of the
// account-total cursor, tax settings and folders held in plain fields, every call recorded, and
// failures set per call: by what the host lacks, or by the number of the call.
#pragma once

#include "platform/host.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class FakeHost : public platform::Host {
  public:
    // ---- Every call ----
    // Calls of the table's methods and of the account-total cursor's, counted from 1, and their
    // names in order ("SelectedData", "MoveNext", ...). A walk of data sets or accounts counts
    // twice, once as it starts and once after its records ("ForEachAccount end"), since a host
    // can fail it at either point.
    int calls = 0;
    std::vector<std::string> callLog;
    // The call numbered failCall (0: none) is refused with failCode, or, when throwCall names it,
    // throws a std::runtime_error that names the call.
    int failCall = 0;
    long failCode = 7;
    int throwCall = 0;

    // ---- The connection ----
    long initiateResult = 0;
    long linkResult = 0;
    std::string appTitle;
    long appType = -1;
    HostWnd ownerWnd = nullptr;
    int connects = 0;
    int disconnects = 0;
    struct Message {
        HostWnd owner;
        std::string text;
        std::string caption;
        unsigned style;
    };
    std::vector<Message> messages;

    // ---- Company data and user ----
    // False: the host has no data sets (SelectedData and ForEachDataSet fail).
    bool hasDataSets = true;
    std::vector<StDATAINFO> dataSets;
    // Index in dataSets of the data open in the host; none gives an all-zero record.
    std::optional<std::size_t> selected;
    // Walks of the data sets begun and ended.
    int dataSetWalks = 0;
    int dataSetWalksEnded = 0;
    // Empty: the host has no user object.
    std::optional<platform::HostUser> user;
    // Refusals of the user's ID and selection numbers (0: none).
    long userIdError = 0;

    // ---- Account master ----
    bool hasAccounts = true;
    std::vector<StKAMOKUINFO> accounts;
    // Walks of the account master (all of it or a find) begun, and those ended.
    int accountWalks = 0;
    int accountWalksEnded = 0;

    // ---- Account-total cursor ----
    // False: no cursor can be had.
    bool totalsAvailable = true;
    // True: asking for a cursor runs out of memory (std::bad_alloc).
    bool totalsOutOfMemory = false;
    // Refusal of the cursor's binding to the data (0: none).
    long bindError = 0;
    std::vector<StKAMOKUSUMINFO> totalRows;
    long moveReadyError = 0;
    long sumCountError = 0;
    long setMovePosError = 0;
    long moveFinishError = 0;
    // MoveNext gives moveNextErrorCode instead of row moveNextErrorRow (1 = the first); 0: never.
    long moveNextErrorRow = 0;
    long moveNextErrorCode = 9;
    struct TotalsLog {
        int opened = 0;
        int readied = 0;
        int finished = 0;
        std::string dataId;
        std::vector<StFINDINFO> terms;
    };
    TotalsLog totalsLog;

    // ---- Tax settings, period, folders ----
    bool hasTax = true;
    StSHOHIZEIINFO tax{};
    long taxError = 0;
    std::string taxDataId;
    // The accounting month of a date is its calendar month moved by this many months; an
    // invalid month gives code 1 and leaves the month as it was.
    int accountingMonthShift = 0;
    // An absent folder is one the host has none of (an empty text); folderError refuses both.
    long folderError = 0;
    std::optional<std::string> outputFolder;
    std::optional<std::string> settingsFolder;
    int folderReleases = 0;

    // Records as the host keeps them.
    static StDATAINFO DataSet(const std::string& dataId, std::int32_t dataNo,
                              const std::string& companyName, std::int32_t periodStart,
                              std::int32_t periodEnd);
    // An account whose identifier starts with idByte, zeros after it.
    static StKAMOKUINFO Account(unsigned char idByte, std::int32_t code, const std::string& name);

    // Counts a call of the method and answers the fault set for its number, if any.
    platform::Status Enter(const char* method);

    platform::Status Connect(const char* title, long type) override;
    platform::Status SetOwnerWindow(HostWnd owner) override;
    platform::Status LinkPermission() override;
    platform::Status Disconnect() override;
    platform::Status ShowMessage(HostWnd owner, const char* text, const char* caption,
                                 unsigned style) override;

    platform::Status SelectedData(StDATAINFO& record) override;
    platform::Status ForEachDataSet(const platform::DataSetVisit& visit) override;
    platform::Status CurrentUser(platform::HostUser& out) override;

    platform::Status ForEachAccount(const StFINDINFO* terms,
                                    const platform::AccountVisit& visit) override;
    platform::Status
    OpenAccountTotals(const char* dataId,
                      std::unique_ptr<platform::AccountTotalCursor>& cursor) override;
    platform::Status TaxSettings(const char* dataId, StSHOHIZEIINFO& settings) override;
    platform::Status AccountingMonth(std::int32_t start, std::int32_t end, std::int32_t date,
                                     std::int16_t& month) override;

    platform::Status FolderPath(platform::HostFolder folder, std::string& path) override;
    platform::Status ReleaseFolders() override;
};

} // namespace testsupport
