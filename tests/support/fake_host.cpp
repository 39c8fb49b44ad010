#include "support/fake_host.h"

#include "host/bookkern.h"

#include <algorithm>
#include <cstring>

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

class FakeAccountWalk : public platform::AccountMasterWalk {
  public:
    explicit FakeAccountWalk(FakeHost& host) : host_(host) {
        ++host_.openAccountWalks;
        ++host_.accountWalks;
    }
    ~FakeAccountWalk() override { --host_.openAccountWalks; }
    FakeAccountWalk(const FakeAccountWalk&) = delete;
    FakeAccountWalk& operator=(const FakeAccountWalk&) = delete;

    long Walk(StKAMOKUINFO* account) override {
        if (next_ >= host_.accounts.size())
            return 1;
        *account = host_.accounts[next_++];
        return 0;
    }
    long WalkFind(const StFINDINFO* terms, StKAMOKUINFO* account) override {
        while (next_ < host_.accounts.size()) {
            const StKAMOKUINFO& candidate = host_.accounts[next_++];
            if (MatchesAll(terms, candidate)) {
                *account = candidate;
                return 0;
            }
        }
        return 1;
    }

  private:
    FakeHost& host_;
    std::size_t next_ = 0;
};

class FakeTotals : public platform::AccountTotalCursor {
  public:
    explicit FakeTotals(FakeHost& host) : host_(host) {}

    long MoveReady(const StFINDINFO* terms) override {
        ++host_.totalsLog.readied;
        host_.totalsLog.terms.clear();
        for (const StFINDINFO* term = terms;; ++term) {
            host_.totalsLog.terms.push_back(*term);
            if (term->link() == StFINDINFO::kNone)
                break;
        }
        return host_.moveReadyError;
    }
    long GetSumCount(long* count) override {
        *count = static_cast<long>(host_.totalRows.size());
        return host_.sumCountError;
    }
    long SetMovePos(long position) override {
        position_ = static_cast<std::size_t>(position);
        return host_.setMovePosError;
    }
    long MoveNext(StKAMOKUSUMINFO* row) override {
        if (position_ >= host_.totalRows.size())
            return kHostEndOfRows;
        if (static_cast<long>(position_) + 1 == host_.moveNextErrorRow)
            return host_.moveNextErrorCode;
        *row = host_.totalRows[position_++];
        return 0;
    }
    long MoveFinish() override {
        ++host_.totalsLog.finished;
        return 0;
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

long FakeHost::Connect(const char* title, long type) {
    ++connects;
    appTitle = title;
    appType = type;
    return initiateResult;
}

unsigned FakeHost::ShowMessage(HostWnd owner, const char* text, const char* caption,
                               unsigned style) {
    messages.push_back({owner, text, caption, style});
    return 1;
}

bool FakeHost::SelectedData(StDATAINFO& record) {
    if (!hasDataSets)
        return false;
    record = selected && *selected < dataSets.size() ? dataSets[*selected] : StDATAINFO{};
    return true;
}

bool FakeHost::ForEachDataSet(const std::function<bool(const StDATAINFO&)>& visit) {
    if (!hasDataSets)
        return false;
    ++dataSetWalks;
    for (const StDATAINFO& record : dataSets) {
        if (!visit(record))
            break;
    }
    ++dataSetWalksEnded;
    return true;
}

bool FakeHost::CurrentUser(platform::HostUser& out) {
    if (!user)
        return false;
    out = *user;
    return true;
}

std::unique_ptr<platform::AccountMasterWalk> FakeHost::OpenAccountMaster() {
    if (!hasAccounts)
        return nullptr;
    return std::make_unique<FakeAccountWalk>(*this);
}

std::unique_ptr<platform::AccountTotalCursor> FakeHost::OpenAccountTotals(const char* dataId) {
    if (!totalsAvailable)
        return nullptr;
    if (totalsOutOfMemory)
        throw std::bad_alloc();
    ++totalsLog.opened;
    totalsLog.dataId = dataId;
    return std::make_unique<FakeTotals>(*this);
}

long FakeHost::TaxSettings(const char* dataId, StSHOHIZEIINFO* settings) {
    if (!hasTax)
        return -1;
    taxDataId = dataId;
    if (taxError != 0)
        return taxError;
    *settings = tax;
    return 0;
}

long FakeHost::AccountingMonth(std::int32_t, std::int32_t, std::int32_t date, std::int16_t* month) {
    const int calendar = date / 100 % 100;
    if (calendar < 1 || calendar > 12)
        return 1;
    *month = static_cast<std::int16_t>((calendar - 1 + accountingMonthShift % 12 + 12) % 12 + 1);
    return 0;
}

const char* FakeHost::FolderPath(platform::HostFolder folder) {
    const std::optional<std::string>& path =
        folder == platform::HostFolder::kSettings ? settingsFolder : outputFolder;
    return path ? path->c_str() : nullptr;
}

} // namespace testsupport
