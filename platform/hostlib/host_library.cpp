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

// The host's answer to a call: 0 is success, any other code its refusal.
Status Answer(const char* method, long code) {
    return code == 0 ? Status() : Status::HostRefused(method, code);
}

// A host object that a call hands out, or the refusal when the host handed out none.
template <typename Object> Status Handed(const char* method, Object* object) {
    return object != nullptr ? Status() : Status::HostRefused(method, 0);
}

// The first failure of several steps that must all run.
Status FirstFailure(const Status& first, const Status& second) {
    return !first.ok() ? first : second;
}

Status Connection(ClAccConnect*& connect) {
    connect = ClAccConnect::Inst();
    return Handed("ClAccConnect::Inst", connect);
}

Status DataManager(ClDataMgr*& manager) {
    manager = ClDataMgr::Inst();
    return Handed("ClDataMgr::Inst", manager);
}

// The data manager's set object of a kind, bound to the host's current data.
template <typename Set> Status SetObject(ClDataMgr::SetKind kind, Set*& set) {
    ClDataMgr* manager = nullptr;
    if (Status got = DataManager(manager); !got.ok())
        return got;
    set = static_cast<Set*>(manager->GetSetObject(kind, 1));
    return Handed("ClDataMgr::GetSetObject", set);
}

// A set or rule object attached to the host's set manager and bound to one company data; the
// steps are named for the object's class.
template <typename Object>
Status BindToData(Object& object, const char* attachStep, const char* bindStep,
                  const char* dataId) {
    ClDataMgr* manager = nullptr;
    if (Status got = DataManager(manager); !got.ok())
        return got;
    ClSetMgr* setManager = manager->GetSetMgr();
    if (Status got = Handed("ClDataMgr::GetSetMgr", setManager); !got.ok())
        return got;
    if (Status attached = Answer(attachStep, object.AttachSetMgr(setManager)); !attached.ok())
        return attached;
    return Answer(bindStep, object.SetCurDataID(dataId));
}

// The host methods of one kind of record cursor.
struct CursorMethods {
    const char* open;
    const char* ready;
    const char* walk;
    const char* release;
};

// A walk of host records: the cursor opened and readied, each record visited until the host
// gives kHostEndOfWalk or the visitor stops, and the cursor released however the walk ends.
template <typename Record, typename Open, typename Ready, typename Next, typename Release,
          typename Visit>
Status WalkRecords(const CursorMethods& methods, Open open, Ready ready, Next next, Release release,
                   const Visit& visit) {
    long cursor = 0;
    if (Status opened = Answer(methods.open, open(&cursor)); !opened.ok())
        return opened;
    Status walked;
    try {
        walked = Answer(methods.ready, ready(cursor));
        Record record{};
        for (bool more = walked.ok(); more;) {
            const long code = next(&record, cursor);
            more = code == 0;
            if (code != 0 && code != kHostEndOfWalk)
                walked = Status::HostRefused(methods.walk, code);
            if (more && !visit(record))
                break;
        }
    } catch (...) {
        // The exception is the news; the host's answer to the release adds nothing to it.
        static_cast<void>(release(cursor));
        throw;
    }
    return FirstFailure(walked, Answer(methods.release, release(cursor)));
}

// ClRuleKamoku attached to the host's set manager and option link, bound to one data.
class HostAccountTotals : public AccountTotalCursor {
  public:
    Status Bind(const char* dataId) {
        if (Status bound =
                BindToData(rule_, "ClRuleBase::AttachSetMgr", "ClRuleBase::SetCurDataID", dataId);
            !bound.ok())
            return bound;
        ClLinkMgr* links = ClLinkMgr::Inst();
        if (Status got = Handed("ClLinkMgr::Inst", links); !got.ok())
            return got;
        ClOptLink* link = links->GetOptLink();
        if (Status got = Handed("ClLinkMgr::GetOptLink", link); !got.ok())
            return got;
        return Answer("ClRuleBase::AttachOptLink", rule_.AttachOptLink(link));
    }

    Status MoveReady(const StFINDINFO* terms) override {
        return Answer("ClRuleKamoku::MoveReady", rule_.MoveReady(1, 0, 0, terms, nullptr, 0));
    }
    Status GetSumCount(long& count) override {
        return Answer("ClRuleKamoku::GetSumCount", rule_.GetSumCount(&count));
    }
    Status SetMovePos(long position) override {
        return Answer("ClRuleKamoku::SetMovePos", rule_.SetMovePos(position));
    }
    Status MoveNext(StKAMOKUSUMINFO& row, bool& more) override {
        const long code = rule_.MoveNext(&row);
        more = code == 0;
        return code == 0 || code == kHostEndOfRows
                   ? Status()
                   : Status::HostRefused("ClRuleKamoku::MoveNext", code);
    }
    Status MoveFinish() override { return Answer("ClRuleKamoku::MoveFinish", rule_.MoveFinish()); }

  private:
    ClRuleKamoku rule_;
};

class HostLibrary : public Host {
  public:
    Status Connect(const char* appTitle, long appType) override {
        ClAccConnect* connect = nullptr;
        if (Status got = Connection(connect); !got.ok())
            return got;
        CopyToField(connect->appTitle, sizeof connect->appTitle, appTitle);
        if (Status declared =
                Answer("ClAccConnect::SetAppType",
                       connect->SetAppType(static_cast<ClSysEnvMgr::_AppType>(appType)));
            !declared.ok())
            return declared;
        if (Status declared = Answer("ClAccConnect::SetUseDataType", connect->SetUseDataType(1));
            !declared.ok())
            return declared;
        return Answer("ClAccConnect::Initiate", connect->Initiate());
    }
    Status SetOwnerWindow(HostWnd owner) override {
        ClAccConnect* connect = nullptr;
        if (Status got = Connection(connect); !got.ok())
            return got;
        connect->ownerWnd = owner;
        return Status();
    }
    Status LinkPermission() override {
        ClAccConnect* connect = nullptr;
        if (Status got = Connection(connect); !got.ok())
            return got;
        return Answer("ClAccConnect::ExpSysLink", connect->ExpSysLink());
    }
    Status Disconnect() override {
        ClAccConnect* connect = nullptr;
        if (Status got = Connection(connect); !got.ok())
            return got;
        // All three, in this order, whatever the logout answers or throws.
        const auto end = [connect] {
            connect->Terminate();
            connect->Release();
        };
        long loggedOut = 0;
        try {
            loggedOut = connect->LogOut();
        } catch (...) {
            end();
            throw;
        }
        end();
        return Answer("ClAccConnect::LogOut", loggedOut);
    }
    Status ShowMessage(HostWnd owner, const char* text, const char* caption,
                       unsigned style) override {
        ClAccConnect* connect = nullptr;
        if (Status got = Connection(connect); !got.ok())
            return got;
        // The answer is the button pressed; the messages offer OK alone, so it is ignored.
        connect->DispMsg(owner, text, caption, style);
        return Status();
    }

    Status SelectedData(StDATAINFO& record) override {
        ClSetData* dataSet = nullptr;
        if (Status got = SetObject(ClDataMgr::kCompanyData, dataSet); !got.ok())
            return got;
        record = StDATAINFO{};
        return Answer("ClSetData::GetSelectedInfo", dataSet->GetSelectedInfo(&record));
    }
    Status ForEachDataSet(const DataSetVisit& visit) override {
        ClSetData* dataSet = nullptr;
        if (Status got = SetObject(ClDataMgr::kCompanyData, dataSet); !got.ok())
            return got;
        return WalkRecords<StDATAINFO>(
            {"ClSetData::GetDatCursor", "ClSetData::ReadyDat", "ClSetData::WalkDat",
             "ClSetData::ReleaseDatCursor"},
            [&](long* cursor) { return dataSet->GetDatCursor(cursor); },
            [&](long cursor) { return dataSet->ReadyDat(cursor, 0); },
            [&](StDATAINFO* record, long cursor) { return dataSet->WalkDat(record, cursor); },
            [&](long cursor) { return dataSet->ReleaseDatCursor(cursor); }, visit);
    }
    Status CurrentUser(HostUser& user) override {
        ClDataMgr* manager = nullptr;
        if (Status got = DataManager(manager); !got.ok())
            return got;
        ClSysUser* host = manager->GetSysUserObject();
        if (Status got = Handed("ClDataMgr::GetSysUserObject", host); !got.ok())
            return got;
        char userId[kUserIdSize] = {};
        if (Status got = Answer("ClSysUser::GetCurUserID", host->GetCurUserID(userId)); !got.ok())
            return got;
        // An ID that fills the field is cut there, never inside a double-byte character.
        userId[CutLength(userId, strnlen(userId, sizeof userId), sizeof userId - 1)] = '\0';
        long first = 0;
        long dataNo = 0;
        if (Status got =
                Answer("ClSysUser::GetSelectedNo", host->GetSelectedNo(userId, &first, &dataNo));
            !got.ok())
            return got;
        user.id = userId;
        user.first = first;
        user.dataNo = dataNo;
        return Status();
    }

    Status ForEachAccount(const StFINDINFO* terms, const AccountVisit& visit) override {
        ClSetKamoku* accounts = nullptr;
        if (Status got = SetObject(ClDataMgr::kAccounts, accounts); !got.ok())
            return got;
        return WalkRecords<StKAMOKUINFO>(
            {"ClSetKamoku::GetCursor", "ClSetKamoku::ReadyCursor",
             terms != nullptr ? "ClSetKamoku::WalkFind" : "ClSetKamoku::Walk",
             "ClSetKamoku::ReleaseCursor"},
            [&](long* cursor) { return accounts->GetCursor(cursor); },
            [&](long cursor) { return accounts->ReadyCursor(cursor); },
            [&](StKAMOKUINFO* account, long cursor) {
                return terms != nullptr ? accounts->WalkFind(terms, account, cursor)
                                        : accounts->Walk(account, cursor);
            },
            [&](long cursor) { return accounts->ReleaseCursor(cursor); }, visit);
    }
    Status OpenAccountTotals(const char* dataId,
                             std::unique_ptr<AccountTotalCursor>& cursor) override {
        auto totals = std::make_unique<HostAccountTotals>();
        if (Status bound = totals->Bind(dataId); !bound.ok())
            return bound;
        cursor = std::move(totals);
        return Status();
    }
    Status TaxSettings(const char* dataId, StSHOHIZEIINFO& settings) override {
        ClSetShohizei* tax = nullptr;
        if (Status got = SetObject(ClDataMgr::kTax, tax); !got.ok())
            return got;
        if (Status bound =
                BindToData(*tax, "ClSetBase::AttachSetMgr", "ClSetBase::SetCurDataID", dataId);
            !bound.ok())
            return bound;
        return Answer("ClSetShohizei::Get", tax->Get(&settings));
    }
    Status AccountingMonth(std::int32_t start, std::int32_t end, std::int32_t date,
                           std::int16_t& month) override {
        ClAccPeriod period;
        if (Status set = Answer("ClAccPeriod::SetPeriod", period.SetPeriod(start, end)); !set.ok())
            return set;
        short closingDay = 0;
        if (Status got = Answer("ClAccPeriod::GetClosingDayByEndDate",
                                period.GetClosingDayByEndDate(end, 0, &closingDay));
            !got.ok())
            return got;
        if (Status set = Answer("ClAccPeriod::SetClosingDay", period.SetClosingDay(closingDay));
            !set.ok())
            return set;
        short accountingMonth = 0;
        if (Status got = Answer("ClAccPeriod::GetAMonthByDate",
                                period.GetAMonthByDate(date, &accountingMonth, 0));
            !got.ok())
            return got;
        month = accountingMonth;
        return Status();
    }

    Status FolderPath(HostFolder folder, std::string& path) override {
        ClFileMgr* files = ClFileMgr::Inst();
        if (Status got = Handed("ClFileMgr::Inst", files); !got.ok())
            return got;
        const char* text = files->GetAppFolderPath(static_cast<long>(folder));
        if (Status got = Handed("ClFileMgr::GetAppFolderPath", text); !got.ok())
            return got;
        path = text;
        return Status();
    }
    Status ReleaseFolders() override {
        ClFileMgr* files = ClFileMgr::Inst();
        if (Status got = Handed("ClFileMgr::Inst", files); !got.ok())
            return got;
        files->Release();
        return Status();
    }
};

} // namespace

std::unique_ptr<Host> OpenHostLibrary() {
    return std::make_unique<HostLibrary>();
}

} // namespace platform
