#include "aggregate/aggregator.h"

#include <array>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kSlots = StKAMOKUSUMINFO::kSlots;
constexpr int kYearEndSlot = 13;
constexpr int kInterimSlot = 14;
constexpr std::int16_t kInterimToIndex = 6;
constexpr std::int16_t kLastFiscalMonth = 12;
// A row or line side of 1 takes movesA as its own side; any other value takes movesB.
constexpr int kSideA = 1;

constexpr std::uint32_t kSalesKind = 0x40888000;
constexpr std::uint32_t kCostOfSalesKind = 0x40884000;
constexpr std::uint32_t kGrossMarginKind = 0x40880008;
constexpr std::uint32_t kOperatingResultKind = 0x40880000;
constexpr std::uint32_t kExtraordinaryGainsKind = 0x40480000;
constexpr std::uint32_t kExtraordinaryLossesKind = 0x40440000;
constexpr std::uint32_t kResultBeforeTaxKind = 0x40200080;
constexpr std::uint32_t kCapitalKind = 0x80200000;
constexpr std::uint32_t kAssetsKind = 0x80800000;
constexpr std::uint32_t kLiabilitiesKind = 0x80400000;

std::uint32_t KindCodeOf(SourceKey key) {
    switch (key) {
    case SourceKey::kSales:
        return kSalesKind;
    case SourceKey::kCostOfSales:
        return kCostOfSalesKind;
    case SourceKey::kGrossMargin:
        return kGrossMarginKind;
    case SourceKey::kOperatingResult:
        return kOperatingResultKind;
    case SourceKey::kExtraordinaryGains:
        return kExtraordinaryGainsKind;
    case SourceKey::kExtraordinaryLosses:
        return kExtraordinaryLossesKind;
    case SourceKey::kResultBeforeTax:
        return kResultBeforeTaxKind;
    case SourceKey::kCapital:
        return kCapitalKind;
    case SourceKey::kAssets:
    case SourceKey::kOtherAssets:
        return kAssetsKind;
    case SourceKey::kLiabilities:
    case SourceKey::kOtherLiabilities:
        return kLiabilitiesKind;
    case SourceKey::kNone:
        break;
    }
    return 0;
}

using ExactRaw = FixedAmount::ExactRaw;

void AddSlots(const StKAMOKUSUMINFO& row, bool taxIncluded, int slot, bool fromA, ExactRaw& sum) {
    sum += fromA ? row.moveA(taxIncluded, slot) : row.moveB(taxIncluded, slot);
}

// Lines as they stood before a row touched them, so that a refused row leaves nothing behind.
struct SavedLine {
    StatementLine* line;
    std::array<std::int64_t, StatementLine::kAmounts> amounts;
};

void Save(std::vector<SavedLine>& saved, StatementLine* line) {
    for (const SavedLine& s : saved) {
        if (s.line == line)
            return;
    }
    saved.push_back({line, line->amounts});
}

void Restore(const std::vector<SavedLine>& saved) {
    for (const SavedLine& s : saved)
        s.line->amounts = s.amounts;
}

} // namespace

const std::uint32_t KindTotals::kKindCodes[kCount] = {kSalesKind,
                                                      kCostOfSalesKind,
                                                      kGrossMarginKind,
                                                      kOperatingResultKind,
                                                      kExtraordinaryGainsKind,
                                                      kExtraordinaryLossesKind,
                                                      kResultBeforeTaxKind,
                                                      kCapitalKind,
                                                      kAssetsKind,
                                                      kLiabilitiesKind};

void KindTotals::Clear() {
    for (FixedAmount& total : totals_)
        total = FixedAmount(0, 0);
}

void KindTotals::Take(const StKAMOKUSUMINFO& row, const FixedAmount& balance) {
    const std::uint32_t kind = row.kindCode();
    for (int i = 0; i < kCount; ++i) {
        if (kKindCodes[i] != kind)
            continue;
        if (kind == kResultBeforeTaxKind || (row.totalMark() == 1 && row.subMark() == 0))
            totals_[i] = balance;
        return;
    }
}

const FixedAmount& KindTotals::Of(std::uint32_t kindCode) const {
    for (int i = 0; i < kCount; ++i) {
        if (kKindCodes[i] == kindCode)
            return totals_[i];
    }
    static const FixedAmount zero(0, 0);
    return zero;
}

// Which slots of a row are read, from the request's month terms and the data's use of months.
struct OverviewAggregator::SlotPlan {
    std::int16_t fromIndex = 1;
    // The opening part (slots before fromIndex) counts: the data is in use by toIndex.
    bool useOpening = false;
    // Slots summed into the period movements.
    std::array<bool, kSlots> period{};
    // Month of a monthly line that slot N lands in; 0 when the slot is not read for them.
    std::array<std::int16_t, kSlots> monthOf{};

    // Refused when the request's months lie outside the fiscal year (they index the slots).
    platform::Status Make(const AggregationRequest& request, const StDATAINFO& dataInfo) {
        const MonthTerm* terms = request.terms;
        fromIndex = terms[0].value16();
        const std::int16_t toIndex = terms[1].value16();
        if (fromIndex < 1 || fromIndex > kLastFiscalMonth)
            return platform::Status::RangeRefused("request-from-month", fromIndex);
        if (toIndex < 1 || toIndex > kLastFiscalMonth)
            return platform::Status::RangeRefused("request-to-month", toIndex);

        // The year-end closing term follows the months directly, or follows the interim term;
        // either way its postings (slot 13) count.
        const bool yearEndThird =
            terms[1].link() != StFINDINFO::kNone && terms[2].value16() == kYearEndClosingMonth;
        const bool yearEndFourth = terms[1].link() != StFINDINFO::kNone &&
                                   terms[2].link() != StFINDINFO::kNone &&
                                   terms[3].value16() == kYearEndClosingMonth;
        const bool interim = dataInfo.interimClosing() == 1 && toIndex == kInterimToIndex;
        useOpening = dataInfo.startUseMonth() <= toIndex;

        const int count = yearEndThird ? kYearEndSlot + 1 : toIndex + 1;
        for (int slot = fromIndex; slot < count; ++slot)
            period[slot] = true;
        period[kInterimSlot] = interim;
        period[kYearEndSlot] = yearEndThird || yearEndFourth;

        // Monthly lines take every month from the first, whatever fromIndex is; the opening
        // part lands in the start-of-use month and the closing periods in the last month.
        const int monthlyCount = interim ? kInterimSlot + 1 : count;
        const std::int16_t startMonth =
            dataInfo.startUseMonth() > 0 ? dataInfo.startUseMonth() : std::int16_t{1};
        for (int slot = 0; slot < monthlyCount; ++slot) {
            if (interim && slot > kInterimToIndex && slot < kInterimSlot)
                continue;
            if (slot == 0)
                monthOf[slot] = useOpening ? startMonth : std::int16_t{0};
            else
                monthOf[slot] = slot >= kYearEndSlot ? toIndex : static_cast<std::int16_t>(slot);
        }
        if (period[kYearEndSlot])
            monthOf[kYearEndSlot] = toIndex;
        return platform::Status();
    }

    // The row's balance on its own side: opening part plus the period's movements. The sums are
    // exact; only the opening plus the own side's movements is range checked, and the balance
    // must fit where it is kept.
    bool Balance(const StKAMOKUSUMINFO& row, bool taxIncluded, FixedAmount& balance) const {
        const bool sideA = row.side() == kSideA;
        ExactRaw opening = 0;
        if (useOpening) {
            ExactRaw preA = 0;
            ExactRaw preB = 0;
            for (int slot = 0; slot < fromIndex; ++slot) {
                AddSlots(row, taxIncluded, slot, true, preA);
                AddSlots(row, taxIncluded, slot, false, preB);
            }
            opening = sideA ? preA - preB : preB - preA;
        }
        ExactRaw movesA = 0;
        ExactRaw movesB = 0;
        for (int slot = 0; slot < kSlots; ++slot) {
            if (period[slot]) {
                AddSlots(row, taxIncluded, slot, true, movesA);
                AddSlots(row, taxIncluded, slot, false, movesB);
            }
        }
        ExactRaw sum = 0;
        return FixedAmount::Sum(opening, sideA ? movesA : movesB, sum) &&
               FixedAmount::Store(sum - (sideA ? movesB : movesA), balance);
    }

    // Adds (or subtracts) the row's monthly movements into the months of a monthly line.
    bool AddMonths(const StKAMOKUSUMINFO& row, bool taxIncluded, bool add,
                   StatementLine& line) const {
        const bool sideA = row.side() == kSideA;
        for (int slot = 0; slot < kSlots; ++slot) {
            if (monthOf[slot] == 0)
                continue;
            const ExactRaw a = row.moveA(taxIncluded, slot);
            const ExactRaw b = row.moveB(taxIncluded, slot);
            const ExactRaw movement = sideA ? a - b : b - a;
            std::int64_t& month = line.amounts[monthOf[slot]];
            if (!FixedAmount::Store(add ? month + movement : month - movement, month))
                return false;
        }
        return true;
    }
};

// The mapping entries by key and the statement lines by number, both in list order, so that a
// row finds its entries without comparing its key with every entry.
class OverviewAggregator::MappingIndex {
  public:
    using Lines = std::vector<StatementLine*>;

    MappingIndex(const MappingEntries& mappings, StatementLines& lines) {
        for (const auto& line : lines)
            linesByNo_[line->lineNo].push_back(line.get());
        // Elements of an unordered_map keep their addresses when it grows.
        for (const auto& entry : mappings) {
            targets_[std::string_view(entry->key.c_str()).substr(0, kMappingKeySize)].push_back(
                &linesByNo_[entry->lineNo]);
        }
    }

    // For each entry whose key equals key, in list order: the lines of the entry's number.
    const std::vector<const Lines*>* Find(const AccountKey& key) const {
        auto found = targets_.find(std::string_view(key.text, kMappingKeySize - 1));
        return found == targets_.end() ? nullptr : &found->second;
    }

  private:
    std::unordered_map<std::int16_t, Lines> linesByNo_;
    std::unordered_map<std::string_view, std::vector<const Lines*>> targets_;
};

OverviewAggregator::OverviewAggregator(ProgressSink& progress, const MappingEntries& mappings,
                                       StatementLines& lines, FormGeneration form,
                                       platform::Host& host)
    : progress_(progress), mappings_(mappings), lines_(lines), form_(form), host_(host) {}

OverviewAggregator::~OverviewAggregator() = default;

platform::Status OverviewAggregator::Aggregate(int taxIncluded, const AggregationRequest& request,
                                               const StDATAINFO& dataInfo) try {
    progress_.AdvanceTo(0, 100);
    SlotPlan plan;
    if (platform::Status planned = plan.Make(request, dataInfo); !planned.ok())
        return planned;
    if (!cursor_) {
        StDATAINFO selected;
        if (platform::Status got = host_.SelectedData(selected); !got.ok())
            return got;
        if (platform::Status opened = host_.OpenAccountTotals(selected.dataId(), cursor_);
            !opened.ok())
            return opened;
    }

    progress_.AdvanceTo(100, 200);
    // A cursor that is not ready would fail at the count; its own answer says more.
    if (platform::Status readied = cursor_->MoveReady(request.terms); !readied.ok())
        return readied;
    long rowCount = 0;
    if (platform::Status counted = cursor_->GetSumCount(rowCount); !counted.ok())
        return counted;

    progress_.AdvanceTo(200, 300);
    if (platform::Status placed = cursor_->SetMovePos(0); !placed.ok())
        return placed;
    kindTotals_.Clear();
    if (platform::Status walked = Walk(taxIncluded == 1, rowCount, plan); !walked.ok())
        return walked;

    progress_.AdvanceTo(300, 400);
    if (platform::Status finished = cursor_->MoveFinish(); !finished.ok())
        return finished;
    cursor_.reset();
    if (platform::Status applied = ApplySourceKeys(); !applied.ok())
        return applied;

    progress_.AdvanceTo(400, 500);
    return platform::Status();
} catch (const std::bad_alloc&) {
    return platform::Status::OutOfMemory("Aggregate");
}

// One activity step per row and per mapping entry that the row feeds: the index spares the visit
// of the other entries, and with it the step that such a visit would take.
platform::Status OverviewAggregator::Walk(bool taxIncluded, long rowCount, const SlotPlan& plan) {
    const MappingIndex index(mappings_, lines_);
    std::vector<SavedLine> saved;
    for (long i = 0; i < rowCount; ++i) {
        progress_.ActivityTick();
        StKAMOKUSUMINFO row{};
        bool more = false;
        if (platform::Status moved = cursor_->MoveNext(row, more); !moved.ok())
            return moved;
        if (!more)
            break;

        FixedAmount balance;
        if (!plan.Balance(row, taxIncluded, balance))
            return platform::Status::Overflow("row-balance");
        kindTotals_.Take(row, balance);
        if (row.noMapMark() != 0)
            continue;

        const auto* targets = index.Find(MakeAccountKey(row));
        if (targets == nullptr)
            continue;
        saved.clear();
        for (const MappingIndex::Lines* lines : *targets) {
            progress_.ActivityTick();
            for (StatementLine* line : *lines) {
                Save(saved, line);
                if (!AddToLine(row, taxIncluded, plan, balance, *line)) {
                    Restore(saved);
                    return platform::Status::Overflow("line-amount");
                }
            }
        }
    }
    return platform::Status();
}

bool OverviewAggregator::AddToLine(const StKAMOKUSUMINFO& row, bool taxIncluded,
                                   const SlotPlan& plan, const FixedAmount& balance,
                                   StatementLine& line) const {
    const bool add = line.side == row.side();
    if (!IsMainAccountLine(line.lineNo, form_))
        return plan.AddMonths(row, taxIncluded, add, line);
    std::int64_t& value = line.amounts[0];
    return add ? FixedAmount::RawPlus(value, balance, value)
               : FixedAmount::RawMinus(value, balance, value);
}

platform::Status OverviewAggregator::ApplySourceKeys() {
    for (const auto& entry : mappings_) {
        progress_.ActivityTick();
        const SourceKey key = FindSourceKey(entry->key.c_str());
        const FixedAmount& total = kindTotals_.Of(KindCodeOf(key));
        switch (key) {
        case SourceKey::kNone:
            break;
        case SourceKey::kOtherAssets:
            if (!SetDerivedValue(entry->lineNo, total, kOtherAssetsFirstLine, kOtherAssetsLastLine))
                return platform::Status::Overflow("other-assets");
            break;
        case SourceKey::kOtherLiabilities:
            if (!SetDerivedValue(entry->lineNo, total, kOtherLiabilitiesFirstLine,
                                 kOtherLiabilitiesLastLine))
                return platform::Status::Overflow("other-liabilities");
            break;
        default:
            SetLineValue(entry->lineNo, total.ToRaw());
            break;
        }
    }
    return platform::Status();
}

bool OverviewAggregator::SetDerivedValue(std::int16_t lineNo, const FixedAmount& total,
                                         std::int16_t firstLine, std::int16_t lastLine) {
    ExactRaw others = 0;
    for (const auto& line : lines_) {
        if (line->lineNo == lineNo)
            return FixedAmount::Store(total.ToRaw() - others, line->amounts[0]);
        if (line->lineNo >= firstLine && line->lineNo <= lastLine)
            others += line->amounts[0];
    }
    return true;
}

void OverviewAggregator::SetLineValue(std::int16_t lineNo, std::int64_t value) {
    for (const auto& line : lines_) {
        progress_.ActivityTick();
        if (line->lineNo > FirstMonthlyLine(form_))
            return;
        if (line->lineNo == lineNo) {
            line->amounts[0] = value;
            return;
        }
    }
}

platform::Status GetTaxSettings(platform::Host& host, StSHOHIZEIINFO& record) {
    StDATAINFO selected;
    if (platform::Status got = host.SelectedData(selected); !got.ok())
        return got;
    StSHOHIZEIINFO settings{};
    if (platform::Status got = host.TaxSettings(selected.dataId(), settings); !got.ok())
        return got;
    record = settings;
    return platform::Status();
}
