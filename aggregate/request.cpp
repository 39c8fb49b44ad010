#include "aggregate/request.h"

#include "aggregate/period.h"

namespace {

void SetTerm(MonthTerm& term, StFINDINFO::Operator op, std::int16_t month) {
    term.set_field(StFINDINFO::kAccountingMonth);
    term.set_op(op);
    term.set_valueType(StFINDINFO::kInt16);
    term.set_value16(month);
    term.set_link(StFINDINFO::kNone);
}

} // namespace

platform::Status BuildAggregationRequest(platform::Host& host, AggregationRequest& request,
                                         const StDATAINFO& record, std::int16_t fromMonth,
                                         std::int16_t toMonth) {
    request = AggregationRequest{};
    std::int16_t firstMonth = 0;
    std::int16_t endCode = 0;
    if (platform::Status got =
            GetPeriodMonths(host, record.periodStart(), record.periodEnd(), &firstMonth, &endCode);
        !got.ok())
        return got;
    std::int16_t fromIndex = 0;
    std::int16_t toIndex = 0;
    GetMonthIndexes(firstMonth, endCode, fromMonth, toMonth, &fromIndex, &toIndex);

    MonthTerm* terms = request.terms;
    SetTerm(terms[0], StFINDINFO::kAtLeast, fromIndex);
    terms[0].set_link(StFINDINFO::kAnd);
    SetTerm(terms[1], StFINDINFO::kAtMost, toIndex);
    int last = 1;
    if (record.interimClosing() == 1 && toIndex == 6) {
        terms[last].set_link(StFINDINFO::kOr);
        SetTerm(terms[++last], StFINDINFO::kEqual, kInterimClosingMonth);
    }
    if (toMonth == endCode % 100) {
        terms[last].set_link(StFINDINFO::kOr);
        SetTerm(terms[++last], StFINDINFO::kEqual, kYearEndClosingMonth);
    }
    return platform::Status();
}
