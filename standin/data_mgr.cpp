// The data manager and the set objects it hands out: company data sets, the account master,
// the consumption-tax settings, and the logged-in user.
#include "host/bookhub.h"
#include "host/bookkern.h"
#include "standin/calls.h"
#include "standin/config.h"
#include "standin/find_terms.h"
#include "standin/host_records.h"

#include <cstring>
#include <map>

namespace {

// An open cursor of a set object: the position of the next record.
struct Cursor {
    const void* owner;
    std::size_t position;
};

std::map<long, Cursor>& Cursors() {
    static std::map<long, Cursor> cursors;
    return cursors;
}

long OpenCursor(const void* owner, long* cursor) {
    static long lastCursor = 0;
    if (cursor == nullptr)
        return 1;
    *cursor = ++lastCursor;
    Cursors()[*cursor] = Cursor{owner, 0};
    return 0;
}

Cursor* FindCursor(const void* owner, long cursor) {
    const auto it = Cursors().find(cursor);
    return it == Cursors().end() || it->second.owner != owner ? nullptr : &it->second;
}

long CloseCursor(const void* owner, long cursor) {
    if (FindCursor(owner, cursor) == nullptr)
        return 1;
    Cursors().erase(cursor);
    return 0;
}

ClSetData& DataSetObject() {
    static ClSetData object;
    return object;
}
ClSetKamoku& AccountSetObject() {
    static ClSetKamoku object;
    return object;
}
ClSetShohizei& TaxSetObject() {
    static ClSetShohizei object;
    return object;
}

} // namespace

namespace standin {

void UnbindSetObjects() {
    DataSetObject().SetCurDataID("");
    AccountSetObject().SetCurDataID("");
    TaxSetObject().SetCurDataID("");
    Cursors().clear();
}

} // namespace standin

ClSetMgr::~ClSetMgr() = default;
ClOptLink::~ClOptLink() = default;

ClSetBase::ClSetBase() : setMgr_(nullptr), curDataId_{} {}
ClSetBase::~ClSetBase() = default;

long ClSetBase::AttachSetMgr(ClSetMgr* mgr) {
    if (const auto fault = standin::AnswerCall("ClSetBase::AttachSetMgr"))
        return *fault;
    setMgr_ = mgr;
    return mgr == nullptr ? 1 : 0;
}

// An empty ID binds the object to the data the user has selected; an unknown ID binds it to
// no data (every walk is then empty) and returns 1.
long ClSetBase::SetCurDataID(const char* dataId) {
    if (const auto fault = standin::AnswerCall("ClSetBase::SetCurDataID"))
        return *fault;
    return standin::BindDataId(curDataId_, dataId);
}

long ClSetData::GetSelectedInfo(StDATAINFO* info) {
    if (const auto fault = standin::AnswerCall("ClSetData::GetSelectedInfo"))
        return *fault;
    if (info == nullptr)
        return 1;
    std::memset(info->bytes, 0, sizeof info->bytes);
    const standin::DataSet* data = standin::SelectedDataSet();
    if (data == nullptr)
        return 1;
    standin::FillDataInfo(*data, *info);
    return 0;
}

long ClSetData::GetDatCursor(long* cursor) {
    if (const auto fault = standin::AnswerCall("ClSetData::GetDatCursor"))
        return *fault;
    return OpenCursor(this, cursor);
}

long ClSetData::ReadyDat(long cursor, long) {
    if (const auto fault = standin::AnswerCall("ClSetData::ReadyDat"))
        return *fault;
    Cursor* c = FindCursor(this, cursor);
    if (c == nullptr)
        return 1;
    c->position = 0;
    return 0;
}

long ClSetData::WalkDat(StDATAINFO* info, long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetData::WalkDat"))
        return *fault;
    Cursor* c = FindCursor(this, cursor);
    const std::vector<standin::DataSet>& sets = standin::GetBook().dataSets;
    if (c == nullptr || info == nullptr || c->position >= sets.size())
        return 1;
    standin::FillDataInfo(sets[c->position++], *info);
    return 0;
}

long ClSetData::ReleaseDatCursor(long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetData::ReleaseDatCursor"))
        return *fault;
    return CloseCursor(this, cursor);
}

long ClSetKamoku::GetCursor(long* cursor) {
    if (const auto fault = standin::AnswerCall("ClSetKamoku::GetCursor"))
        return *fault;
    return OpenCursor(this, cursor);
}

long ClSetKamoku::ReadyCursor(long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetKamoku::ReadyCursor"))
        return *fault;
    Cursor* c = FindCursor(this, cursor);
    if (c == nullptr)
        return 1;
    c->position = 0;
    return 0;
}

long ClSetKamoku::Walk(StKAMOKUINFO* info, long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetKamoku::Walk"))
        return *fault;
    Cursor* c = FindCursor(this, cursor);
    const standin::DataSet* data = standin::BoundDataSet(curDataId_);
    if (c == nullptr || info == nullptr || data == nullptr || c->position >= data->accounts.size())
        return 1;
    standin::FillAccountInfo(data->accounts[c->position++], *info);
    return 0;
}

// Terms: account code (field 2) and kind code (field 16) with equal or all. A kind term with
// value 0 matches nothing, since every account carries a nonzero kind code.
long ClSetKamoku::WalkFind(const StFINDINFO* terms, StKAMOKUINFO* info, long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetKamoku::WalkFind"))
        return *fault;
    Cursor* c = FindCursor(this, cursor);
    const standin::DataSet* data = standin::BoundDataSet(curDataId_);
    std::vector<standin::Term> conditions;
    if (c == nullptr || info == nullptr || data == nullptr)
        return 1;
    if (!standin::ReadTerms(terms, {StFINDINFO::kAccountCode, StFINDINFO::kKindCode}, conditions))
        return 2;
    while (c->position < data->accounts.size()) {
        const standin::Account& account = data->accounts[c->position++];
        const bool hit = standin::Matches(conditions, [&](int32_t field) -> int64_t {
            return field == StFINDINFO::kAccountCode ? account.code : account.kind;
        });
        if (hit) {
            standin::FillAccountInfo(account, *info);
            return 0;
        }
    }
    return 1;
}

long ClSetKamoku::ReleaseCursor(long cursor) {
    if (const auto fault = standin::AnswerCall("ClSetKamoku::ReleaseCursor"))
        return *fault;
    return CloseCursor(this, cursor);
}

long ClSetShohizei::Get(StSHOHIZEIINFO* info) {
    if (const auto fault = standin::AnswerCall("ClSetShohizei::Get"))
        return *fault;
    if (const long fault = standin::GetConfig().faults.taxGet; fault != 0)
        return fault;
    const standin::DataSet* data = standin::BoundDataSet(curDataId_);
    if (info == nullptr || data == nullptr)
        return 1;
    std::memset(info->bytes, 0, sizeof info->bytes);
    info->set_taxIncludedPreset(data->taxIncludedPreset);
    return 0;
}

long ClSysUser::GetCurUserID(char* userId) {
    if (const auto fault = standin::AnswerCall("ClSysUser::GetCurUserID"))
        return *fault;
    if (userId == nullptr)
        return 1;
    std::memset(userId, 0, 65);
    const std::string& id = standin::GetBook().userId;
    std::memcpy(userId, id.data(), id.size() < 64 ? id.size() : 64);
    return id.empty() ? 1 : 0;
}

// The first number is the book's own; the second the data number of the selected data.
long ClSysUser::GetSelectedNo(const char* userId, long* first, long* dataNo) {
    if (const auto fault = standin::AnswerCall("ClSysUser::GetSelectedNo"))
        return *fault;
    if (userId == nullptr || first == nullptr || dataNo == nullptr)
        return 1;
    const std::string& id = standin::GetBook().userId;
    if (id.empty() || std::strncmp(userId, id.c_str(), 65) != 0) {
        *first = 0;
        *dataNo = 0;
        return 1;
    }
    *first = standin::GetBook().selectedFirst;
    *dataNo = standin::SelectedDataNo();
    return 0;
}

ClDataMgr::ClDataMgr() = default;

ClDataMgr* ClDataMgr::Inst() {
    if (standin::AnswerCall("ClDataMgr::Inst"))
        return nullptr;
    static ClDataMgr instance;
    return &instance;
}

ClSetBase* ClDataMgr::GetSetObject(long kind, long) {
    if (standin::AnswerCall("ClDataMgr::GetSetObject"))
        return nullptr;
    switch (kind) {
    case kAccounts:
        return &AccountSetObject();
    case kTax:
        return &TaxSetObject();
    case kCompanyData:
        return &DataSetObject();
    default:
        return nullptr;
    }
}

ClSetMgr* ClDataMgr::GetSetMgr() {
    if (standin::AnswerCall("ClDataMgr::GetSetMgr"))
        return nullptr;
    static ClSetMgr mgr;
    return &mgr;
}

ClSysUser* ClDataMgr::GetSysUserObject() {
    if (standin::AnswerCall("ClDataMgr::GetSysUserObject"))
        return nullptr;
    static ClSysUser user;
    return &user;
}

ClLinkMgr::ClLinkMgr() = default;

ClLinkMgr* ClLinkMgr::Inst() {
    if (standin::AnswerCall("ClLinkMgr::Inst"))
        return nullptr;
    static ClLinkMgr instance;
    return &instance;
}

ClOptLink* ClLinkMgr::GetOptLink() {
    if (standin::AnswerCall("ClLinkMgr::GetOptLink"))
        return nullptr;
    static ClOptLink link;
    return &link;
}
