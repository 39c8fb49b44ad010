// The account totals aggregation: walks the host's monthly account totals once and fills the
// amounts of the statement lines through the mapping entries and the source keys.
#pragma once

#include "aggregate/account_key.h"
#include "aggregate/fixed_amount.h"
#include "aggregate/mapping_index.h"
#include "aggregate/progress.h"
#include "aggregate/request.h"
#include "aggregate/statement_line.h"
#include "host/records.h"
#include "platform/host.h"
#include "platform/status.h"

#include <cstdint>
#include <memory>

// The host totals that source keys read, one per total kind code; the last qualifying row of a
// walk wins.
class KindTotals {
  public:
    static constexpr int kCount = 10;

    // Kind codes of the host's total rows, in the order of the totals.
    static const std::uint32_t kKindCodes[kCount];

    void Clear();
    // Whether Take may take the row's balance: a row of the result before tax whatever its
    // marks, any other row only when marked as a total and not as a sub-total.
    static bool MayTake(const StKAMOKUSUMINFO& row);
    // Takes a row's balance when the row is the total of one of the kinds (and MayTake).
    void Take(const StKAMOKUSUMINFO& row, std::int64_t balance);
    const FixedAmount& Of(std::uint32_t kindCode) const;

  private:
    FixedAmount totals_[kCount];
};

class OverviewAggregator {
  public:
    // Both lists are borrowed; the lines are those of the form generation. The totals are those
    // of the data selected in host.
    OverviewAggregator(ProgressSink& progress, const MappingEntries& mappings,
                       StatementLines& lines, FormGeneration form, platform::Host& host);
    virtual ~OverviewAggregator();
    OverviewAggregator(const OverviewAggregator&) = delete;
    OverviewAggregator& operator=(const OverviewAggregator&) = delete;

    // Adds the host's totals of the requested months into the statement lines (whose amounts
    // must be zero) and gives the source-key lines their values. taxIncluded 1 totals the
    // tax-inclusive figures. Sums on the way are exact, however large. Refused, and the lines
    // must not be reported, when: the host refuses a call (host refused, with the method and
    // its code: the selected data, the cursor's binding or any step of the walk); a month of the
    // request lies outside the fiscal year (range refused); a row's balance is refused by the
    // range-checked sum or an exact amount does not fit where it is stored (overflow; no part of
    // the refused row is stored); memory runs out (out of memory).
    platform::Status Aggregate(int taxIncluded, const AggregationRequest& request,
                               const StDATAINFO& dataInfo);

    // Sets slot 0 of the first main-account line (or the first monthly line) numbered lineNo.
    void SetLineValue(std::int16_t lineNo, std::int64_t value);

  private:
    class Journal;
    struct SlotPlan;

    platform::Status Walk(bool taxIncluded, long rowCount, const SlotPlan& plan,
                          const MappingIndex& index, Journal& journal);
    platform::Status ApplySourceKeys();
    bool SetDerivedValue(std::int16_t lineNo, const FixedAmount& total, std::int16_t firstLine,
                         std::int16_t lastLine);

    ProgressSink& progress_;
    const MappingEntries& mappings_;
    StatementLines& lines_;
    FormGeneration form_;
    platform::Host& host_;
    // Opened by the first Aggregate and closed at its successful end; a failed run leaves it
    // open for a second Aggregate.
    std::unique_ptr<platform::AccountTotalCursor> cursor_;
    KindTotals kindTotals_;
};

// The consumption-tax settings of the data selected in host; record is untouched when the host
// refuses.
platform::Status GetTaxSettings(platform::Host& host, StSHOHIZEIINFO& record);
