// The months an aggregation asks the host for: search terms of the account-total cursor built
// from the chosen months of the company data's accounting period.
#pragma once

#include "host/records.h"
#include "platform/host.h"

#include <cstddef>
#include <cstdint>

// One search term of the account-total cursor, in the host's StFINDINFO form.
using MonthTerm = StFINDINFO;

// The months of an aggregation: terms end to end, the last one used with link 0 and the
// unused ones all zeros.
struct AggregationRequest {
    static constexpr int kTerms = 4;
    MonthTerm terms[kTerms]{};
};
static_assert(sizeof(AggregationRequest) == std::size_t{4} * 34, "AggregationRequest layout");

// Interim and year-end closing periods as the host numbers them among the accounting months.
constexpr std::int16_t kInterimClosingMonth = 15;
constexpr std::int16_t kYearEndClosingMonth = 18;

// Fills request with the months fromMonth..toMonth (calendar months of the record's
// accounting period), or the interim closing period when the data keeps one and the months
// end with the sixth, or the year-end closing period when they end with the period's last month.
// The period's months are reckoned by host; its refusal comes back, the request all zeros.
platform::Status BuildAggregationRequest(platform::Host& host, AggregationRequest& request,
                                         const StDATAINFO& record, std::int16_t fromMonth,
                                         std::int16_t toMonth);
