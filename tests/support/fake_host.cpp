#include "support/fake_host.h"

#include "host/bookkern.h"
#include "support/portable/uncounted.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace testsupport {
namespace {

void CopyText(char* field, std::size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

// A term against one account: the fields the program searches by, compared plainly.
bool Matches(const StFINDINFO& term, const StKAMOKUINFO& account) {
    if (term.op() == StFINDINFO::kAll)
        return true;
    std::int64_t value = 0;
    std::int64_t wanted = 0;
    switch (term.field()) {
    case StFINDINFO::kAccountCode:
        value = account.code();
        wanted = term.value32();
        break;
    case StFINDINFO::kKindCode:
        value = account.kindCode();
        wanted = term.kindValue();
        break;
    default:
        return false;
    }
    switch (term.op()) {
    case StFINDINFO::kEqual:
        return value == wanted;
    case StFINDINFO::kAtLeast:
        return value >= wanted;
    case StFINDINFO::kAtMost:
        return value <= wanted;
    default:
        return false;
    }
}

// Terms end to end, combined from the left by their links.
bool MatchesAll(const StFINDINFO* terms, const StKAMOKUINFO& account) {
    bool result = Matches(terms[0], account);
    for (const StFINDINFO* term = terms; term->link() != StFINDINFO::kNone; ++term) {
        const bool next = Matches(term[1], account);
        result = term->link() == StFINDINFO::kAnd ? result && next : result || next;
    }
    return result;
}

platform::Status Refused(const char* method, long code) {
    return code == 0 ? platform::Status() : platform::Status::HostRefused(method, code);
}

class FakeTotals : public platform::AccountTotalCursor {
  public:
    explicit FakeTotals(FakeHost& host) : host_(host) {}

    platform::Status MoveReady(const StFINDINFO* terms) override {
        if (platform::Status refused = host_.Enter("MoveReady"); !refused.ok())
            return refused;
        const UncountedScope uncounted;
        ++host_.totalsLog.readied;
        host_.totalsLog.terms.clear();
        for (const StFINDINFO* term = terms;; ++term) {
            host_.totalsLog.terms.push_back(*term);
            if (term->link() == StFINDINFO::kNone)
                break;
        }
        return Refused("ClRuleKamoku::MoveReady", host_.moveReadyError);
    }
    platform::Status GetSumCount(long& count) override {
        if (platform::Status refused = host_.Enter("GetSumCount"); !refused.ok())
            return refused;
        count = static_cast<long>(host_.totalRows.size());
        return Refused("ClRuleKamoku::GetSumCount", host_.sumCountError);
    }
    platform::Status SetMovePos(long position) override {
        if (platform::Status refused = host_.Enter("SetMovePos"); !refused.ok())
            return refused;
        position_ = static_cast<std::size_t>(position);
        return Refused("ClRuleKamoku::SetMovePos", host_.setMovePosError);
    }
    platform::Status MoveNext(StKAMOKUSUMINFO& row, bool& more) override {
        more = false;
        if (platform::Status refused = host_.Enter("MoveNext"); !refused.ok())
            return refused;
        if (position_ >= host_.totalRows.size())
            return platform::Status();
        // The host's own end code there ends the rows early.
        if (static_cast<long>(position_) + 1 == host_.moveNextErrorRow)
            return host_.moveNextErrorCode == kHostEndOfRows
                       ? platform::Status()
                       : platform::Status::HostRefused("ClRuleKamoku::MoveNext",
                                                       host_.moveNextErrorCode);
        row = host_.totalRows[position_++];
        more = true;
        return platform::Status();
    }
    platform::Status MoveFinish() override {
        if (platform::Status refused = host_.Enter("MoveFinish"); !refused.ok())
            return refused;
        ++host_.totalsLog.finished;
        return Refused("ClRuleKamoku::MoveFinish", host_.moveFinishError);
    }

  private:
    FakeHost& host_;
    std::size_t position_ = 0;
};

} // namespace

StDATAINFO FakeHost::DataSet(const std::string& dataId, std::int32_t dataNo,
                             const std::string& companyName, std::int32_t periodStart,
                             std::int32_t periodEnd) {
    StDATAINFO record{};
    CopyText(record.dataIdField(), StDATAINFO::dataIdSize, dataId);
    record.set_dataNo(dataNo);
    CopyText(record.companyNameField(), StDATAINFO::companyNameSize, companyName);
    record.set_periodStart(periodStart);
    record.set_periodEnd(periodEnd);
    record.set_startUseMonth(1);
    return record;
}

StKAMOKUINFO FakeHost::Account(unsigned char idByte, std::int32_t code, const std::string& name) {
    StKAMOKUINFO account{};
    const unsigned char id[StKAMOKUINFO::kIdSize] = {idByte};
    account.set_accountId(id);
    account.set_code(code);
    CopyText(account.nameField(), StKAMOKUINFO::nameSize, name);
    return account;
}

platform::Status FakeHost::Enter(const char* method) {
    const UncountedScope uncounted;
    ++calls;
    callLog.push_back(method);
    if (calls == throwCall)
        throw std::runtime_error("host call " + std::to_string(calls) + " " + method);
    if (calls == failCall)
        return platform::Status::HostRefused(method, failCode);
    return platform::Status();
}

platform::Status FakeHost::Connect(const char* title, long type) {
    if (platform::Status refused = Enter("Connect"); !refused.ok())
        return refused;
    const UncountedScope uncounted;
    ++connects;
    appTitle = title;
    appType = type;
    return Refused("ClAccConnect::Initiate", initiateResult);
}

platform::Status FakeHost::SetOwnerWindow(HostWnd owner) {
    if (platform::Status refused = Enter("SetOwnerWindow"); !refused.ok())
        return refused;
    ownerWnd = owner;
    return platform::Status();
}

platform::Status FakeHost::LinkPermission() {
    if (platform::Status refused = Enter("LinkPermission"); !refused.ok())
        return refused;
    return Refused("ClAccConnect::ExpSysLink", linkResult);
}

platform::Status FakeHost::Disconnect() {
    ++disconnects;
    return Enter("Disconnect");
}

platform::Status FakeHost::ShowMessage(HostWnd owner, const char* text, const char* caption,
                                       unsigned style) {
    if (platform::Status refused = Enter("ShowMessage"); !refused.ok())
        return refused;
    const UncountedScope uncounted;
    messages.push_back({owner, text, caption, style});
    return platform::Status();
}

platform::Status FakeHost::SelectedData(StDATAINFO& record) {
    if (platform::Status refused = Enter("SelectedData"); !refused.ok())
        return refused;
    if (!hasDataSets)
        return platform::Status::HostRefused("ClDataMgr::GetSetObject", 0);
    record = selected && *selected < dataSets.size() ? dataSets[*selected] : StDATAINFO{};
    return platform::Status();
}

platform::Status FakeHost::ForEachDataSet(const platform::DataSetVisit& visit) {
    if (platform::Status refused = Enter("ForEachDataSet"); !refused.ok())
        return refused;
    if (!hasDataSets)
        return platform::Status::HostRefused("ClDataMgr::GetSetObject", 0);
    ++dataSetWalks;
    for (const StDATAINFO& record : dataSets) {
        if (!visit(record))
            break;
    }
    ++dataSetWalksEnded;
    // A walk can fail after its records were visited (the cursor's release): a call of its own.
    return Enter("ForEachDataSet end");
}

platform::Status FakeHost::CurrentUser(platform::HostUser& out) {
    if (platform::Status refused = Enter("CurrentUser"); !refused.ok())
        return refused;
    if (!user)
        return platform::Status::HostRefused("ClDataMgr::GetSysUserObject", 0);
    if (userIdError != 0)
        return platform::Status::HostRefused("ClSysUser::GetCurUserID", userIdError);
    out = *user;
    return platform::Status();
}

platform::Status FakeHost::ForEachAccount(const StFINDINFO* terms,
                                          const platform::AccountVisit& visit) {
    if (platform::Status refused = Enter("ForEachAccount"); !refused.ok())
        return refused;
    if (!hasAccounts)
        return platform::Status::HostRefused("ClDataMgr::GetSetObject", 0);
    ++accountWalks;
    for (const StKAMOKUINFO& account : accounts) {
        if ((terms == nullptr || MatchesAll(terms, account)) && !visit(account))
            break;
    }
    ++accountWalksEnded;
    return Enter("ForEachAccount end");
}

platform::Status
FakeHost::OpenAccountTotals(const char* dataId,
                            std::unique_ptr<platform::AccountTotalCursor>& cursor) {
    if (platform::Status refused = Enter("OpenAccountTotals"); !refused.ok())
        return refused;
    if (!totalsAvailable)
        return platform::Status::HostRefused("ClDataMgr::GetSetMgr", 0);
    if (totalsOutOfMemory)
        throw std::bad_alloc();
    if (bindError != 0)
        return platform::Status::HostRefused("ClRuleBase::SetCurDataID", bindError);
    {
        const UncountedScope uncounted;
        ++totalsLog.opened;
        totalsLog.dataId = dataId;
    }
    cursor = std::make_unique<FakeTotals>(*this);
    return platform::Status();
}

platform::Status FakeHost::TaxSettings(const char* dataId, StSHOHIZEIINFO& settings) {
    if (platform::Status refused = Enter("TaxSettings"); !refused.ok())
        return refused;
    if (!hasTax)
        return platform::Status::HostRefused("ClDataMgr::GetSetObject", 0);
    {
        const UncountedScope uncounted;
        taxDataId = dataId;
    }
    if (taxError != 0)
        return platform::Status::HostRefused("ClSetShohizei::Get", taxError);
    settings = tax;
    return platform::Status();
}

platform::Status FakeHost::AccountingMonth(std::int32_t, std::int32_t, std::int32_t date,
                                           std::int16_t& month) {
    if (platform::Status refused = Enter("AccountingMonth"); !refused.ok())
        return refused;
    const int calendar = date / 100 % 100;
    if (calendar < 1 || calendar > 12)
        return platform::Status::HostRefused("ClAccPeriod::GetAMonthByDate", 1);
    month = static_cast<std::int16_t>((calendar - 1 + accountingMonthShift % 12 + 12) % 12 + 1);
    return platform::Status();
}

platform::Status FakeHost::FolderPath(platform::HostFolder folder, std::string& path) {
    if (platform::Status refused = Enter("FolderPath"); !refused.ok())
        return refused;
    if (folderError != 0)
        return platform::Status::HostRefused("ClFileMgr::GetAppFolderPath", folderError);
    const std::optional<std::string>& given =
        folder == platform::HostFolder::kSettings ? settingsFolder : outputFolder;
    path = given.value_or(std::string());
    return platform::Status();
}

platform::Status FakeHost::ReleaseFolders() {
    ++folderReleases;
    return Enter("ReleaseFolders");
}

} // namespace testsupport
