#include "booktool/ledger.h"
#include "booktool/sample_books.h"

#include <algorithm>
#include <stdexcept>

namespace bookgen {

namespace {

struct KindRange {
    int firstNumber;
    uint32_t kind;
    int side;
};

// Detail kinds spread over the account numbers 1000 to 9999.
const KindRange kRanges[] = {
    {1000, 0x80881000, 1}, {1100, 0x80883000, 1}, {1300, 0x80884000, 1}, {1500, 0x80889000, 1},
    {1700, 0x80841000, 1}, {1800, 0x80849000, 1}, {2000, 0x80482000, 2}, {2300, 0x80489000, 2},
    {2600, 0x80443000, 2}, {3000, 0x80203000, 2}, {4000, 0x40888100, 2}, {5000, 0x40884500, 1},
    {6000, 0x40882200, 1}, {6500, 0x40882900, 1}, {7000, 0x40841000, 2}, {7500, 0x40821000, 1},
    {8000, 0x40481000, 2}, {8500, 0x40441000, 1}, {9000, 0x40101000, 1},
};

const KindRange& RangeOf(int number) {
    const KindRange* found = &kRanges[0];
    for (const KindRange& range : kRanges) {
        if (number >= range.firstNumber)
            found = &range;
    }
    return *found;
}

} // namespace

std::string SyntheticBook(int accountCount, unsigned seed) {
    // Main accounts with four sub-accounts each make five records; the first main account
    // (cash) takes the other side of every posting and has no sub-accounts.
    const int mains = std::max(2, std::min(8999, accountCount / 5));
    const int cash = 1000 * 10000;
    Ledger ledger;
    ledger.Add({1000, 0, u8"現金", 0x80881000, 1, 0, 0});
    Random random(seed);
    std::vector<int> postingCodes;
    // Generated numbers start above 1000; 999 holds the capital paid in.
    const int capitalCode = 999 * 10000;
    ledger.Add({999, 0, u8"資本金", 0x80201000, 2, 0, 0});
    for (int i = 1; i < mains; ++i) {
        const int number = 1000 + static_cast<int>(static_cast<int64_t>(i) * 8999 / mains);
        const KindRange& range = RangeOf(number);
        ledger.Add({number, 0, u8"科目" + std::to_string(number), range.kind, range.side,
                    i % 97 == 0 ? 1 : 0, 0});
        for (int sub = 1; sub <= 4; ++sub) {
            ledger.Add({number, sub, u8"補助" + std::to_string(sub), range.kind, range.side, 0, 0});
            postingCodes.push_back(number * 10000 + sub);
        }
    }
    for (int code : postingCodes) {
        const ChartAccount& account = ledger.Account(code);
        const bool balanceSheet = (account.kind >> 28) == 8;
        if (balanceSheet)
            ledger.Opening(code, random.Around(2000000, 0.9));
        for (int m = 1; m <= 12; ++m) {
            const int64_t amount = random.Around(balanceSheet ? 300000 : 800000, 0.9);
            if (account.side == 1) {
                ledger.Debit(m, code, amount);
                ledger.Credit(m, cash, amount);
            } else {
                ledger.Debit(m, cash, amount);
                ledger.Credit(m, code, amount);
            }
        }
    }
    // Cash makes the opening balance sheet balance; capital paid in keeps it positive all year.
    ledger.Opening(cash, -ledger.Imbalance(false));
    const int64_t shortfall = -ledger.Balance(cash, 14);
    if (shortfall > 0) {
        const int64_t paidIn = shortfall / kYen * kYen + 100000000 * kYen;
        ledger.Opening(cash, paidIn);
        ledger.Opening(capitalCode, paidIn);
    }
    if (ledger.Imbalance(false) != 0)
        throw std::logic_error("synthetic books do not balance");
    DataSetInfo info;
    info.dataId = "SYN" + std::to_string(accountCount);
    info.dataNo = 1;
    info.companyName = u8"株式会社合成データ";
    info.periodStart = 20240401;
    info.periodEnd = 20250331;
    BookData book{"bench", 1, 1, {}};
    book.dataSets.emplace_back(info, ledger);
    return WriteBook(book);
}

} // namespace bookgen
