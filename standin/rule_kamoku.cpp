// The cursor over the monthly account totals of one data set: one row per main account and per
// sub-account, then the host's total rows (marks and order in standin/README.md).
#include "host/bookkern.h"
#include "standin/calls.h"
#include "standin/config.h"
#include "standin/find_terms.h"
#include "standin/system.h"

#include <cstring>
#include <vector>

struct ClRuleKamoku::Rows {
    std::vector<StKAMOKUSUMINFO> rows;
    std::size_t position = 0;
    bool ready = false;
};

namespace {

// Month codes of the slots: 0 opening, 1 to 12 the fiscal months, 18 year-end, 15 interim.
const int kSlotMonth[standin::kSlots] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18, 15};

// The slots a request delivers: those of the requested months, and every month before the
// first requested fiscal month, because they make up the opening part of the balance. The
// interim closing period of a data set that keeps one lies between months 6 and 7: a request
// that asks for it (month code 15) gets its postings in their own slot; any other request that
// covers month 6 gets them inside month 6, so that a total over the year holds them once.
struct Delivery {
    std::vector<bool> slots = std::vector<bool>(standin::kSlots, false);
    bool interimInMonth6 = false;
};

Delivery DeliveredSlots(const standin::DataSet& data, const std::vector<standin::Term>& terms) {
    Delivery delivery;
    auto requested = [&](int month) {
        return standin::Matches(terms, [month](int32_t) -> int64_t { return month; });
    };
    int firstMonth = 13;
    for (int m = 1; m <= 12 && firstMonth == 13; ++m) {
        if (requested(m))
            firstMonth = m;
    }
    std::vector<bool>& delivered = delivery.slots;
    delivered[0] = true;
    for (int s = 1; s <= 12; ++s)
        delivered[static_cast<std::size_t>(s)] = s < firstMonth || requested(s);
    delivered[standin::kClosingSlot] = requested(kSlotMonth[standin::kClosingSlot]);
    delivered[standin::kInterimSlot] = requested(kSlotMonth[standin::kInterimSlot]);
    delivery.interimInMonth6 =
        data.interimClosing == 1 && !delivered[standin::kInterimSlot] && delivered[6];
    return delivery;
}

void FillSlots(StKAMOKUSUMINFO& row, const standin::Figures& excluded,
               const standin::Figures& included, const Delivery& delivery) {
    for (int s = 0; s < standin::kSlots; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        if (!delivery.slots[i])
            continue;
        int64_t excludedDebit = excluded.debit[i], excludedCredit = excluded.credit[i];
        int64_t includedDebit = included.debit[i], includedCredit = included.credit[i];
        if (s == 6 && delivery.interimInMonth6) {
            // The book reader keeps every running sum of an account within 64 bits.
            const std::size_t interim = standin::kInterimSlot;
            excludedDebit += excluded.debit[interim];
            excludedCredit += excluded.credit[interim];
            includedDebit += included.debit[interim];
            includedCredit += included.credit[interim];
        }
        row.set_moveA(false, s, excludedDebit);
        row.set_moveB(false, s, excludedCredit);
        row.set_moveA(true, s, includedDebit);
        row.set_moveB(true, s, includedCredit);
    }
}

void BuildRows(const standin::DataSet& data, const Delivery& delivered,
               std::vector<StKAMOKUSUMINFO>& rows) {
    rows.clear();
    rows.reserve(data.accounts.size() + data.totals.size());
    for (const standin::Account& account : data.accounts) {
        StKAMOKUSUMINFO row{};
        row.set_accountId(account.id.data());
        row.set_subMark(account.isSub ? 1 : 0);
        row.set_totalMark(0);
        row.set_noMapMark(account.isSub ? 1 : 0);
        row.set_side(account.side);
        row.set_kindCode(account.kind);
        FillSlots(row, account.excluded, account.included, delivered);
        rows.push_back(row);
    }
    for (const standin::TotalRow& total : data.totals) {
        StKAMOKUSUMINFO row{};
        row.set_accountId(total.id.data());
        row.set_subMark(total.grandTotal ? 0 : 1);
        row.set_totalMark(1);
        row.set_noMapMark(1);
        row.set_side(total.side);
        row.set_kindCode(total.kind);
        FillSlots(row, total.excluded, total.included, delivered);
        rows.push_back(row);
    }
}

} // namespace

ClRuleBase::ClRuleBase() : setMgr_(nullptr), optLink_(nullptr), curDataId_{} {}
ClRuleBase::~ClRuleBase() = default;

long ClRuleBase::AttachSetMgr(ClSetMgr* mgr) {
    if (const auto fault = standin::AnswerCall("ClRuleBase::AttachSetMgr"))
        return *fault;
    setMgr_ = mgr;
    return mgr == nullptr ? 1 : 0;
}

long ClRuleBase::SetCurDataID(const char* dataId) {
    if (const auto fault = standin::AnswerCall("ClRuleBase::SetCurDataID"))
        return *fault;
    return standin::BindDataId(curDataId_, dataId);
}

long ClRuleBase::AttachOptLink(ClOptLink* link) {
    if (const auto fault = standin::AnswerCall("ClRuleBase::AttachOptLink"))
        return *fault;
    optLink_ = link;
    return link == nullptr ? 1 : 0;
}

ClRuleKamoku::ClRuleKamoku() : rows_(new Rows) {}
ClRuleKamoku::~ClRuleKamoku() {
    delete rows_;
}

// Serves sum type 1 (the books' own totals) without departments; the terms are accounting
// month terms (field 17). Results: 0 ready; 1 no data bound; 2 a request it does not serve;
// 3 malformed terms.
long ClRuleKamoku::MoveReady(long sumType, long bumonType, long, const StFINDINFO* terms,
                             const StBUMONINFO* bumon, long) {
    if (const auto fault = standin::AnswerCall("ClRuleKamoku::MoveReady"))
        return *fault;
    rows_->rows.clear();
    rows_->position = 0;
    rows_->ready = false;
    // Without a data ID the cursor serves the data the user has selected.
    const standin::DataSet* data = standin::BoundDataSet(curDataId_);
    if (data == nullptr)
        return 1;
    if (sumType != 1 || bumonType != 0 || bumon != nullptr)
        return 2;
    std::vector<standin::Term> conditions;
    if (!standin::ReadTerms(terms, {StFINDINFO::kAccountingMonth}, conditions))
        return 3;
    BuildRows(*data, DeliveredSlots(*data, conditions), rows_->rows);
    rows_->ready = true;
    return 0;
}

long ClRuleKamoku::GetSumCount(long* count) {
    if (const auto fault = standin::AnswerCall("ClRuleKamoku::GetSumCount"))
        return *fault;
    if (const long fault = standin::GetConfig().faults.getSumCount; fault != 0)
        return fault;
    if (count == nullptr || !rows_->ready)
        return 1;
    *count = static_cast<long>(rows_->rows.size());
    return 0;
}

long ClRuleKamoku::SetMovePos(long pos) {
    if (const auto fault = standin::AnswerCall("ClRuleKamoku::SetMovePos"))
        return *fault;
    if (const long fault = standin::GetConfig().faults.setMovePos; fault != 0)
        return fault;
    if (!rows_->ready || pos < 0 || static_cast<std::size_t>(pos) > rows_->rows.size())
        return 1;
    rows_->position = static_cast<std::size_t>(pos);
    return 0;
}

long ClRuleKamoku::MoveNext(StKAMOKUSUMINFO* row) {
    if (const auto fault = standin::AnswerCall("ClRuleKamoku::MoveNext"))
        return *fault;
    if (row == nullptr || !rows_->ready)
        return 1;
    const standin::Faults& faults = standin::GetConfig().faults;
    if (faults.moveNextErrorRow > 0 &&
        rows_->position + 1 == static_cast<std::size_t>(faults.moveNextErrorRow))
        return faults.moveNextErrorCode;
    if (rows_->position >= rows_->rows.size())
        return kHostEndOfRows;
    if (const long delay = standin::GetConfig().rowDelayMs; delay > 0)
        standin::HoldBack(delay);
    *row = rows_->rows[rows_->position++];
    return 0;
}

long ClRuleKamoku::MoveFinish() {
    if (const auto fault = standin::AnswerCall("ClRuleKamoku::MoveFinish"))
        return *fault;
    rows_->rows.clear();
    rows_->position = 0;
    rows_->ready = false;
    return 0;
}
