// A small double-entry ledger that generates the monthly figures of sample and synthetic books.
// Every posting is a balanced entry in both the tax-exclusive and the tax-inclusive view, so the
// books it writes always balance.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bookgen {

constexpr int64_t kYen = 10000; // raw units per yen
constexpr int kClosing = 13;    // slot of the year-end closing period
constexpr int kInterim = 14;    // slot of the interim closing period

struct Slots {
    std::array<int64_t, 15> debit{};
    std::array<int64_t, 15> credit{};
};

struct ChartAccount {
    int number = 0;   // 1 to 9999
    int sub = 0;      // 0 for a main account
    std::string name; // UTF-8
    uint32_t kind = 0;
    int side = 1;
    int hideFlag1 = 0;
    int hideFlag2 = 0;
};

class Ledger {
  public:
    // Adds an account; sub-accounts follow their main account.
    void Add(const ChartAccount& account);
    int Code(int number, int sub = 0) const { return number * 10000 + sub; }

    void Opening(int code, int64_t raw);
    // One balanced entry in both views.
    void Debit(int slot, int code, int64_t raw) { Post(slot, code, raw, true, 3); }
    void Credit(int slot, int code, int64_t raw) { Post(slot, code, raw, false, 3); }
    // Only in the tax-exclusive (view 1) or tax-inclusive (view 2) figures.
    void DebitIn(int view, int slot, int code, int64_t raw) { Post(slot, code, raw, true, view); }
    void CreditIn(int view, int slot, int code, int64_t raw) { Post(slot, code, raw, false, view); }

    // Balance on the account's own side after the given slot (0 = the opening only; 13 the
    // whole year), in the tax-exclusive view.
    int64_t Balance(int code, int throughSlot, bool included = false) const;
    int64_t ProfitBeforeTax(bool included) const;
    // Balance of the debit and credit postings of each view; 0 when the books balance.
    int64_t Imbalance(bool included) const;

    // A new year's ledger: balance-sheet accounts carry their closing balances, the result
    // goes to the retained-earnings account, profit and loss accounts start at zero.
    Ledger CarryForward(int retainedEarningsCode) const;
    // Moves months 1 to startUseMonth - 1 into the opening slot (data in use from that month).
    void FoldInto(int startUseMonth);

    const std::vector<ChartAccount>& Chart() const { return chart_; }
    const Slots& Excluded(int code) const { return excluded_.at(code); }
    const Slots& Included(int code) const { return included_.at(code); }
    const ChartAccount& Account(int code) const;

  private:
    void Post(int slot, int code, int64_t raw, bool debit, int views);

    std::vector<ChartAccount> chart_;
    std::map<int, std::size_t> index_;
    std::map<int, Slots> excluded_;
    std::map<int, Slots> included_;
};

struct DataSetInfo {
    std::string dataId;
    int dataNo = 0;
    std::string companyName; // UTF-8
    int periodStart = 0;
    int periodEnd = 0;
    int interimClosing = 0;
    int startUseMonth = 1;
    int equityLabel = 1;
    int taxIncludedPreset = 0;
};

struct BookData {
    std::string userId;
    int selectedFirst = 1;
    int selectedDataNo = 0;
    std::vector<std::pair<DataSetInfo, Ledger>> dataSets;
};

// The book file's JSON text (format of standin/README.md).
std::string WriteBook(const BookData& book);

// Deterministic pseudo-random numbers.
class Random {
  public:
    explicit Random(uint64_t seed)
        : state_(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    // Uniform in [0, 1).
    double Next();
    // value * (1 +- spread), rounded to whole yen, as raw.
    int64_t Around(int64_t yen, double spread);

  private:
    uint64_t state_;
};

} // namespace bookgen
