#include "aggregate/aggregator.h"

#include <array>
#include <cstring>
#include <new>
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

bool KindTotals::MayTake(const StKAMOKUSUMINFO& row) {
    return row.kindCode() == kResultBeforeTaxKind || (row.totalMark() == 1 && row.subMark() == 0);
}

void KindTotals::Take(const StKAMOKUSUMINFO& row, std::int64_t balance) {
    if (!MayTake(row))
        return;
    const std::uint32_t kind = row.kindCode();
    for (int i = 0; i < kCount; ++i) {
        if (kKindCodes[i] == kind) {
            totals_[i] = FixedAmount(balance);
            return;
        }
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

// The amounts that a row changed, in order, with the values they had: undone from the last, so
// that a refused row leaves nothing behind. Its room is made before the walk.
class OverviewAggregator::Journal {
  public:
    explicit Journal(std::size_t capacity) { changes_.reserve(capacity); }

    void Clear() { changes_.clear(); }
    // Notes the value of amount before it is changed.
    void Note(std::int64_t& amount) { changes_.emplace_back(amount); }
    // Gives every noted amount its value back, the last first.
    void Undo() {
        for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
            *change->amount = change->old;
        changes_.clear();
    }

  private:
    struct Change {
        explicit Change(std::int64_t& changed) : amount(&changed), old(changed) {}
        std::int64_t* amount;
        std::int64_t old;
    };
    std::vector<Change> changes_;
};

// Whether pairs of amounts all lie within -2^kBits to 2^kBits - 1, in one test at the end: each
// amount is offset by 2^kBits and the results or-ed, which stays below 2^(kBits + 1) exactly
// while every amount lies within.
template <unsigned kBits> class RangeTest {
  public:
    constexpr void Note(std::int64_t a, std::int64_t b) {
        bits_ |=
            (static_cast<std::uint64_t>(a) + kBound) | (static_cast<std::uint64_t>(b) + kBound);
    }
    constexpr bool Within() const { return bits_ < 2 * kBound; }

  private:
    static constexpr std::uint64_t kBound = std::uint64_t{1} << kBits;
    std::uint64_t bits_ = 0;
};

// The sums of a row's slots that make its balance, in 64 bits: exact while every amount lies
// within +-2^57, since a row adds at most 15 amounts to each sum. Much cheaper than exact sums,
// which a row takes only when this one is not exact.
class BoundedSums {
  public:
    void Opening(std::int64_t a, std::int64_t b) {
        preA_ += static_cast<std::uint64_t>(a);
        preB_ += static_cast<std::uint64_t>(b);
        range_.Note(a, b);
    }
    void Movement(std::int64_t a, std::int64_t b) {
        movesA_ += static_cast<std::uint64_t>(a);
        movesB_ += static_cast<std::uint64_t>(b);
        range_.Note(a, b);
    }
    bool Exact() const { return range_.Within(); }
    std::int64_t preA() const { return static_cast<std::int64_t>(preA_); }
    std::int64_t preB() const { return static_cast<std::int64_t>(preB_); }
    std::int64_t movesA() const { return static_cast<std::int64_t>(movesA_); }
    std::int64_t movesB() const { return static_cast<std::int64_t>(movesB_); }

  private:
    std::uint64_t preA_ = 0;
    std::uint64_t preB_ = 0;
    std::uint64_t movesA_ = 0;
    std::uint64_t movesB_ = 0;
    RangeTest<57> range_;
};

class ExactSums {
  public:
    void Opening(std::int64_t a, std::int64_t b) {
        preA_ += a;
        preB_ += b;
    }
    void Movement(std::int64_t a, std::int64_t b) {
        movesA_ += a;
        movesB_ += b;
    }
    ExactRaw preA() const { return preA_; }
    ExactRaw preB() const { return preB_; }
    ExactRaw movesA() const { return movesA_; }
    ExactRaw movesB() const { return movesB_; }

  private:
    ExactRaw preA_ = 0;
    ExactRaw preB_ = 0;
    ExactRaw movesA_ = 0;
    ExactRaw movesB_ = 0;
};

// The range-checked sum of the opening part and the own side's movements. Exact sums go to
// FixedAmount; bounded ones (the opening below 2^62 in magnitude, the movements below 2^61)
// cannot overflow 64 bits.
bool RangeCheckedSum(ExactRaw a, ExactRaw b, ExactRaw& sum) {
    return FixedAmount::Sum(a, b, sum);
}
bool RangeCheckedSum(std::int64_t a, std::int64_t b, std::int64_t& sum) {
    sum = a + b;
    return sum < FixedAmount::kSumLimit && sum > -FixedAmount::kSumLimit;
}

// The balance on the row's own side from its sums: the opening part plus the period's
// movements, of which only the opening plus the own side's movements is range checked; the
// balance must fit 64 bits.
template <typename Sums> bool BalanceOf(const Sums& sums, bool sideA, std::int64_t& balance) {
    const auto opening = sideA ? sums.preA() - sums.preB() : sums.preB() - sums.preA();
    decltype(sums.preA()) sum = 0;
    return RangeCheckedSum(opening, sideA ? sums.movesA() : sums.movesB(), sum) &&
           FixedAmount::Store(sum - (sideA ? sums.movesB() : sums.movesA()), balance);
}

// Whether every slot of the row's tables (the copy that is read) lies within +-2^54. A balance
// adds at most 30 of them, so the range check cannot refuse it (30 x 2^54 is below 10^18) and it
// fits 64 bits: a row whose balance nothing takes then needs none worked out.
bool CannotBeRefused(const StKAMOKUSUMINFO& row, bool taxIncluded) {
    RangeTest<54> range;
    for (int slot = 0; slot < kSlots; ++slot)
        range.Note(row.moveA(taxIncluded, slot), row.moveB(taxIncluded, slot));
    return range.Within();
}

// Which slots of a row are read, from the request's month terms and the data's use of months.
struct OverviewAggregator::SlotPlan {
    // Slots of the opening part: 0 to openingEnd - 1 (none when the data is not yet in use by
    // the last month).
    int openingEnd = 0;
    // Slots summed into the period movements: periodFirst to periodEnd - 1 and the closing
    // periods beyond them.
    int periodFirst = 0;
    int periodEnd = 0;
    std::array<std::int8_t, 2> closingSlots{};
    int closingCount = 0;
    // Slots read for monthly lines, and the month of a monthly line that each lands in.
    std::array<std::int8_t, kSlots> monthSlots{};
    std::array<std::int16_t, kSlots> months{};
    int monthCount = 0;

    // Refused when the request's months lie outside the fiscal year (they index the slots).
    platform::Status Make(const AggregationRequest& request, const StDATAINFO& dataInfo) {
        const MonthTerm* terms = request.terms;
        const std::int16_t fromIndex = terms[0].value16();
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
        const bool useOpening = dataInfo.startUseMonth() <= toIndex;
        openingEnd = useOpening ? fromIndex : 0;

        const int count = yearEndThird ? kYearEndSlot + 1 : toIndex + 1;
        periodFirst = fromIndex;
        periodEnd = count;
        if (yearEndFourth && count <= kYearEndSlot)
            closingSlots[closingCount++] = kYearEndSlot;
        if (interim)
            closingSlots[closingCount++] = kInterimSlot;

        // Monthly lines take every month from the first, whatever fromIndex is; the opening
        // part lands in the start-of-use month and the closing periods in the last month.
        std::array<std::int16_t, kSlots> monthOf{};
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
        if (yearEndThird || yearEndFourth)
            monthOf[kYearEndSlot] = toIndex;
        for (int slot = 0; slot < kSlots; ++slot) {
            if (monthOf[slot] != 0) {
                monthSlots[monthCount] = static_cast<std::int8_t>(slot);
                months[monthCount++] = monthOf[slot];
            }
        }
        return platform::Status();
    }

    template <typename Sums>
    void AddUp(const StKAMOKUSUMINFO& row, bool taxIncluded, Sums& sums) const {
        for (int slot = 0; slot < openingEnd; ++slot)
            sums.Opening(row.moveA(taxIncluded, slot), row.moveB(taxIncluded, slot));
        for (int slot = periodFirst; slot < periodEnd; ++slot)
            sums.Movement(row.moveA(taxIncluded, slot), row.moveB(taxIncluded, slot));
        for (int i = 0; i < closingCount; ++i)
            sums.Movement(row.moveA(taxIncluded, closingSlots[i]),
                          row.moveB(taxIncluded, closingSlots[i]));
    }

    // The row's balance on its own side; false when the range check refuses it or it does not
    // fit 64 bits.
    bool Balance(const StKAMOKUSUMINFO& row, bool taxIncluded, std::int64_t& balance) const {
        const bool sideA = row.side() == kSideA;
        BoundedSums bounded;
        AddUp(row, taxIncluded, bounded);
        if (bounded.Exact())
            return BalanceOf(bounded, sideA, balance);
        ExactSums exact;
        AddUp(row, taxIncluded, exact);
        return BalanceOf(exact, sideA, balance);
    }

    // The row's movement on its own side in each slot read for monthly lines.
    void Movements(const StKAMOKUSUMINFO& row, bool taxIncluded,
                   std::array<ExactRaw, kSlots>& movements) const {
        const bool sideA = row.side() == kSideA;
        for (int i = 0; i < monthCount; ++i) {
            const ExactRaw a = row.moveA(taxIncluded, monthSlots[i]);
            const ExactRaw b = row.moveB(taxIncluded, monthSlots[i]);
            movements[static_cast<std::size_t>(i)] = sideA ? a - b : b - a;
        }
    }

    // Adds (or subtracts) a row's movements into the months of a monthly line.
    bool AddMonths(const std::array<ExactRaw, kSlots>& movements, bool add, StatementLine& line,
                   Journal& journal) const {
        for (int i = 0; i < monthCount; ++i) {
            const ExactRaw& movement = movements[static_cast<std::size_t>(i)];
            std::int64_t& month = line.amounts[static_cast<std::size_t>(months[i])];
            journal.Note(month);
            if (!FixedAmount::Store(add ? month + movement : month - movement, month))
                return false;
        }
        return true;
    }
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
    // Everything the walk needs is made here, so that the walk itself allocates nothing.
    const MappingIndex index(mappings_, lines_, form_);
    Journal journal(index.MostLinesOfOneKey() * kSlots);
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
    if (platform::Status walked = Walk(taxIncluded == 1, rowCount, plan, index, journal);
        !walked.ok())
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
platform::Status OverviewAggregator::Walk(bool taxIncluded, long rowCount, const SlotPlan& plan,
                                          const MappingIndex& index, Journal& journal) {
    // On a cache line of its own: the host's copy into it and its clearing run at full speed.
    alignas(64) StKAMOKUSUMINFO row;
    // What a row adds to the lines it feeds: its balance and its monthly movements, worked out
    // for the first main-account line and the first monthly line that it feeds.
    FixedAmount balanceAmount;
    std::array<ExactRaw, kSlots> movements;
    for (long i = 0; i < rowCount; ++i) {
        progress_.ActivityTick();
        // Cleared for every row: a field that the host leaves unwritten reads 0.
        std::memset(row.bytes, 0, sizeof row.bytes);
        bool more = false;
        if (platform::Status moved = cursor_->MoveNext(row, more); !moved.ok())
            return moved;
        if (!more)
            break;

        const std::int32_t first =
            row.noMapMark() != 0 ? MappingIndex::kNoTarget : index.First(MakeAccountKey(row));
        // Every row's balance is range checked, but one that nothing takes is only worked out
        // when its amounts are large enough to be refused.
        std::int64_t balance = 0;
        if (first != MappingIndex::kNoTarget || KindTotals::MayTake(row) ||
            !CannotBeRefused(row, taxIncluded)) {
            if (!plan.Balance(row, taxIncluded, balance))
                return platform::Status::Overflow("row-balance");
            kindTotals_.Take(row, balance);
        }

        journal.Clear();
        bool balanceMade = false;
        bool movementsMade = false;
        for (std::int32_t t = first; t != MappingIndex::kNoTarget; t = index.At(t).next) {
            progress_.ActivityTick();
            const MappingIndex::Target& target = index.At(t);
            for (std::uint32_t l = target.firstLine; l != target.endLine; ++l) {
                const MappingIndex::LineRef& line = index.Line(l);
                const bool add = line.side == row.side();
                bool added = false;
                if (line.main) {
                    if (!balanceMade)
                        balanceAmount = FixedAmount(balance);
                    balanceMade = true;
                    std::int64_t& value = line.line->amounts[0];
                    journal.Note(value);
                    added = add ? FixedAmount::RawPlus(value, balanceAmount, value)
                                : FixedAmount::RawMinus(value, balanceAmount, value);
                } else {
                    if (!movementsMade)
                        plan.Movements(row, taxIncluded, movements);
                    movementsMade = true;
                    added = plan.AddMonths(movements, add, *line.line, journal);
                }
                if (!added) {
                    journal.Undo();
                    return platform::Status::Overflow("line-amount");
                }
            }
        }
    }
    return platform::Status();
}

platform::Status OverviewAggregator::ApplySourceKeys() {
    for (const auto& listed : mappings_) {
        progress_.ActivityTick();
        const MappingEntry& entry = *listed;
        const SourceKey key = FindSourceKey(entry.key.c_str());
        if (key == SourceKey::kNone)
            continue;
        const FixedAmount& total = kindTotals_.Of(KindCodeOf(key));
        switch (key) {
        case SourceKey::kOtherAssets:
            if (!SetDerivedValue(entry.lineNo, total, kOtherAssetsFirstLine, kOtherAssetsLastLine))
                return platform::Status::Overflow("other-assets");
            break;
        case SourceKey::kOtherLiabilities:
            if (!SetDerivedValue(entry.lineNo, total, kOtherLiabilitiesFirstLine,
                                 kOtherLiabilitiesLastLine))
                return platform::Status::Overflow("other-liabilities");
            break;
        default:
            SetLineValue(entry.lineNo, total.ToRaw());
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
