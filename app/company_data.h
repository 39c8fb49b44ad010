// The company data of a run: the data set the host user has selected, the form generation and
// header texts it gives, and the month terms that ask the host for the chosen months' totals.
#pragma once

#include "host/records.h"

#include <cstdint>
#include <string>

class ClSetData;

// One search term of the account-total cursor, in the host's StFINDINFO form.
using MonthTerm = StFINDINFO;

// The months of an aggregation: terms end to end, the last one used with link 0 and the
// unused ones all zeros.
struct AggregationRequest {
    static constexpr int kTerms = 4;
    MonthTerm terms[kTerms]{};
};
static_assert(sizeof(AggregationRequest) == 4 * 34, "AggregationRequest layout");

// Interim and year-end closing periods as the host numbers them among the accounting months.
constexpr std::int16_t kInterimClosingMonth = 15;
constexpr std::int16_t kYearEndClosingMonth = 18;

// Copies the data record of the company data that the current host user has selected into
// record: 1 when found; 0 (record all zeros) when no data set has the selected number or the
// host does not answer. dataSet caches the host's company data sets between calls.
int SelectCompanyData(ClSetData*& dataSet, StDATAINFO& record);

// Fills request with the months fromMonth..toMonth (calendar months of the record's
// accounting period), or the interim closing period when the data keeps one and the months
// end with the sixth, or the year-end closing period when they end with the period's last month.
void BuildAggregationRequest(AggregationRequest& request, const StDATAINFO& record,
                             std::int16_t fromMonth, std::int16_t toMonth);

// The form generation: 1 ("30", the newer form) for a period ending on 20180401 or later, else
// 0 ("16").
int NewFormOf(const StDATAINFO& record);

// Header texts of the condition sheet, each held to the 50 bytes of the form's text field: the
// company " name" (a longer name is cut without splitting a double-byte character) and the
// period " yyyy/mm/dd~yyyy/mm/dd" (texts::kPeriodHeaderFormat; the tilde is full-width).
std::string CompanyHeaderText(const StDATAINFO& record);
std::string PeriodHeaderText(const StDATAINFO& record);
