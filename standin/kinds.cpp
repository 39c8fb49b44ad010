#include "standin/kinds.h"

#include <algorithm>
#include <iterator>

namespace standin {

namespace {

const uint32_t kDetailKinds[] = {
    // Assets.
    0x80881000, 0x80882000, 0x80883000, 0x80884000, 0x80885000, 0x80889000, 0x80841000, 0x80842000,
    0x80843000, 0x80844000, 0x80845000, 0x80849000, 0x80821000,
    // Liabilities.
    0x80481000, 0x80482000, 0x80483000, 0x80484000, 0x80485000, 0x80489000, 0x80443000, 0x80444000,
    0x80449000,
    // Capital section.
    0x80201000, 0x80202000, 0x80203000, 0x80209000,
    // Sales and cost of sales.
    0x40888100, 0x40888200, 0x40884100, 0x40884200, 0x40884300, 0x40884400, 0x40884500, 0x40884600,
    0x40884700,
    // Selling and administrative expenses.
    0x40882100, 0x40882200, 0x40882300, 0x40882400, 0x40882500, 0x40882600, 0x40882700, 0x40882800,
    0x40882900,
    // Non-operating, extraordinary, taxes.
    0x40841000, 0x40821000, 0x40481000, 0x40441000, 0x40101000};

constexpr uint32_t kTop = 0xF0000000; // the statement
constexpr uint32_t k3 = 0xFFF00000;
constexpr uint32_t k4 = 0xFFFF0000;
constexpr uint32_t k5 = 0xFFFFF000;

std::vector<TotalKind> MakeTotals() {
    const KindGroup profitAndLoss{0x40000000, kTop};
    const KindGroup sales{0x40888000, k5};
    const KindGroup cost{0x40884000, k5};
    const KindGroup ordinary{0x40800000, k3};
    const KindGroup extraordinary{0x40400000, k3};
    const KindGroup taxes{0x40100000, k3};
    const KindGroup liabilities{0x80400000, k3};
    const KindGroup capital{0x80200000, k3};
    return {
        {0x80880000, 1, false, {{0x80880000, k4}}},
        {0x80840000, 1, false, {{0x80840000, k4}}},
        {0x80820000, 1, false, {{0x80820000, k4}}},
        {0x80800000, 1, true, {{0x80800000, k3}}},
        {0x80480000, 2, false, {{0x80480000, k4}}},
        {0x80440000, 2, false, {{0x80440000, k4}}},
        {0x80400000, 2, true, {liabilities}},
        {0x80200000, 2, true, {capital, profitAndLoss}},
        {0x80600000, 2, true, {liabilities, capital, profitAndLoss}},
        {0x40888000, 2, true, {sales}},
        {0x40884000, 1, true, {cost}},
        {0x40880008, 2, true, {sales, cost}},
        {0x40882000, 1, false, {{0x40882000, k5}}},
        {0x40880000, 2, true, {{0x40880000, k4}}},
        {0x40840000, 2, false, {{0x40840000, k4}}},
        {0x40820000, 1, false, {{0x40820000, k4}}},
        {0x40800000, 2, true, {ordinary}},
        {0x40480000, 2, true, {{0x40480000, k4}}},
        {0x40440000, 1, true, {{0x40440000, k4}}},
        {0x40200080, 2, true, {ordinary, extraordinary}},
        {0x40100000, 1, false, {taxes}},
        {0x40000080, 2, true, {ordinary, extraordinary, taxes}},
    };
}

} // namespace

bool IsDetailKind(uint32_t code) {
    return std::find(std::begin(kDetailKinds), std::end(kDetailKinds), code) !=
           std::end(kDetailKinds);
}

const std::vector<TotalKind>& TotalKinds() {
    static const std::vector<TotalKind> totals = MakeTotals();
    return totals;
}

bool IsMember(const TotalKind& total, uint32_t detailKind) {
    return std::any_of(total.members.begin(), total.members.end(),
                       [&](const KindGroup& g) { return (detailKind & g.mask) == g.prefix; });
}

} // namespace standin
