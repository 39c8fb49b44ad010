#include "platform/host_library.h"

#include "host/bookhub.h"
#include "host/bookkern.h"
#include "host/hostconn.h"
#include "host/pathdesk.h"
#include "platform/sjis.h"

#include <cstddef>
#include <cstring>

namespace platform {
namespace {

// Room of the host's user ID, NUL included.
constexpr std::size_t kUserIdSize = 65;

// A data-set cursor of the host, released however the walk ends.
class DatCursor {
  public:
    explicit DatCursor(ClSetData& dataSet) : dataSet_(dataSet) { dataSet_.GetDatCursor(&id_); }
    ~DatCursor() { dataSet_.ReleaseDatCursor(id_); }
    DatCursor(const DatCursor&) = delete;
    DatCursor& operator=(const DatCursor&) = delete;
    long id() const { return id_; }

  private:
    ClSetData& dataSet_;
    long id_ = 0;
};

class HostAccountMaster : public AccountMasterWalk {
  public:
    explicit HostAccountMaster(ClSetKamoku& accounts) : accounts_(accounts) {
        accounts_.GetCursor(&cursor_);
        accounts_.ReadyCursor(cursor_);
    }
    ~HostAccountMaster() override { accounts_.ReleaseCursor(cursor_); }
    HostAccountMaster(const HostAccountMaster&) = delete;
    HostAccountMaster& operator=(const HostAccountMaster&) = delete;

    long Walk(StKAMOKUINFO* account) override { return accounts_.Walk(account, cursor_); }
    long WalkFind(const StFINDINFO* terms, StKAMOKUINFO* account) override {
        return accounts_.WalkFind(terms, account, cursor_);
    }

  private:
    ClSetKamoku& accounts_;
    long cursor_ = 0;
};

// ClRuleKamoku attached to the host's set manager and option link, bound to one data.
class HostAccountTotals : public AccountTotalCursor {
  public:
    explicit HostAccountTotals(const char* dataId) {
        rule_.AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
        rule_.SetCurDataID(dataId);
        rule_.AttachOptLink(ClLinkMgr::Inst()->GetOptLink());
    }
    long MoveReady(const StFINDINFO* terms) override {
        return rule_.MoveReady(1, 0, 0, terms, nullptr, 0);
    }
    long GetSumCount(long* count) override { return rule_.GetSumCount(count); }
    long SetMovePos(long position) override { return rule_.SetMovePos(position); }
    long MoveNext(StKAMOKUSUMINFO* row) override { return rule_.MoveNext(row); }
    long MoveFinish() override { return rule_.MoveFinish(); }

  private:
    ClRuleKamoku rule_;
};

class HostLibrary : public Host {
  public:
    long Connect(const char* appTitle, long appType) override {
        ClAccConnect* connect = ClAccConnect::Inst();
        CopyToField(connect->appTitle, sizeof connect->appTitle, appTitle);
        connect->SetAppType(static_cast<ClSysEnvMgr::_AppType>(appType));
        connect->SetUseDataType(1);
        return connect->Initiate();
    }
    void SetOwnerWindow(HostWnd owner) override { ClAccConnect::Inst()->ownerWnd = owner; }
    long LinkPermission() override { return ClAccConnect::Inst()->ExpSysLink(); }
    void Disconnect() override {
        ClAccConnect* connect = ClAccConnect::Inst();
        connect->LogOut();
        connect->Terminate();
        connect->Release();
    }
    unsigned ShowMessage(HostWnd owner, const char* text, const char* caption,
                         unsigned style) override {
        return ClAccConnect::Inst()->DispMsg(owner, text, caption, style);
    }

    bool SelectedData(StDATAINFO& record) override {
        ClSetData* dataSet = DataSets();
        if (dataSet == nullptr)
            return false;
        record = StDATAINFO{};
        dataSet->GetSelectedInfo(&record);
        return true;
    }
    bool ForEachDataSet(const std::function<bool(const StDATAINFO&)>& visit) override {
        ClSetData* dataSet = DataSets();
        if (dataSet == nullptr)
            return false;
        DatCursor cursor(*dataSet);
        dataSet->ReadyDat(cursor.id(), 0);
        StDATAINFO walked{};
        while (dataSet->WalkDat(&walked, cursor.id()) == 0) {
            if (!visit(walked))
                break;
        }
        return true;
    }
    bool CurrentUser(HostUser& user) override {
        ClSysUser* host = ClDataMgr::Inst()->GetSysUserObject();
        if (host == nullptr)
            return false;
        char userId[kUserIdSize] = {};
        long first = 0;
        long dataNo = 0;
        host->GetCurUserID(userId);
        // An ID that fills the field is cut there, never inside a double-byte character.
        userId[CutLength(userId, strnlen(userId, sizeof userId), sizeof userId - 1)] = '\0';
        host->GetSelectedNo(userId, &first, &dataNo);
        user.id = userId;
        user.first = first;
        user.dataNo = dataNo;
        return true;
    }

    std::unique_ptr<AccountMasterWalk> OpenAccountMaster() override {
        auto* accounts =
            static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kAccounts, 1));
        if (accounts == nullptr)
            return nullptr;
        return std::make_unique<HostAccountMaster>(*accounts);
    }
    std::unique_ptr<AccountTotalCursor> OpenAccountTotals(const char* dataId) override {
        return std::make_unique<HostAccountTotals>(dataId);
    }
    long TaxSettings(const char* dataId, StSHOHIZEIINFO* settings) override {
        ClDataMgr* manager = ClDataMgr::Inst();
        auto* tax = static_cast<ClSetShohizei*>(manager->GetSetObject(ClDataMgr::kTax, 1));
        if (tax == nullptr)
            return kNoObject;
        tax->AttachSetMgr(manager->GetSetMgr());
        tax->SetCurDataID(dataId);
        return tax->Get(settings);
    }
    long AccountingMonth(std::int32_t start, std::int32_t end, std::int32_t date,
                         std::int16_t* month) override {
        ClAccPeriod period;
        period.SetPeriod(start, end);
        short closingDay = 0;
        period.GetClosingDayByEndDate(end, 0, &closingDay);
        period.SetClosingDay(closingDay);
        return period.GetAMonthByDate(date, month, 0);
    }

    const char* FolderPath(HostFolder folder) override {
        return ClFileMgr::Inst()->GetAppFolderPath(static_cast<long>(folder));
    }
    void ReleaseFolders() override { ClFileMgr::Inst()->Release(); }

  private:
    // The result of a call whose host object is missing.
    static constexpr long kNoObject = -1;

    // The host's company data sets, bound to the current data.
    static ClSetData* DataSets() {
        return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kCompanyData, 1));
    }
};

} // namespace

std::unique_ptr<Host> OpenHostLibrary() {
    return std::make_unique<HostLibrary>();
}

} // namespace platform
