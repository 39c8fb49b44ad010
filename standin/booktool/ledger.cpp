#include "booktool/ledger.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace bookgen {

void Ledger::Add(const ChartAccount& account) {
    const int code = Code(account.number, account.sub);
    if (index_.count(code) != 0)
        throw std::logic_error("duplicate account " + std::to_string(code));
    index_[code] = chart_.size();
    chart_.push_back(account);
    excluded_[code];
    included_[code];
}

const ChartAccount& Ledger::Account(int code) const {
    return chart_.at(index_.at(code));
}

void Ledger::Opening(int code, int64_t raw) {
    const bool debitSide = Account(code).side == 1;
    for (Slots* slots : {&excluded_.at(code), &included_.at(code)})
        (debitSide ? slots->debit : slots->credit)[0] += raw;
}

void Ledger::Post(int slot, int code, int64_t raw, bool debit, int views) {
    if (index_.count(code) == 0)
        throw std::logic_error("posting to unknown account " + std::to_string(code));
    if ((views & 1) != 0)
        (debit ? excluded_[code].debit : excluded_[code].credit)[slot] += raw;
    if ((views & 2) != 0)
        (debit ? included_[code].debit : included_[code].credit)[slot] += raw;
}

int64_t Ledger::Balance(int code, int throughSlot, bool included) const {
    const auto& table = included ? included_ : excluded_;
    const ChartAccount& account = Account(code);
    int64_t balance = 0;
    for (const auto& [other, slots] : table) {
        // A main account's balance includes its sub-accounts.
        if (other != code && !(account.sub == 0 && other / 10000 == account.number))
            continue;
        for (int s = 0; s <= throughSlot; ++s)
            balance += slots.debit[static_cast<std::size_t>(s)] -
                       slots.credit[static_cast<std::size_t>(s)];
    }
    return account.side == 1 ? balance : -balance;
}

int64_t Ledger::ProfitBeforeTax(bool included) const {
    int64_t profit = 0;
    for (const ChartAccount& account : chart_) {
        if (account.sub != 0 || (account.kind >> 28) != 4 ||
            (account.kind & 0xFFF00000) == 0x40100000)
            continue;
        const int64_t balance = Balance(Code(account.number), 14, included);
        profit += account.side == 2 ? balance : -balance;
    }
    return profit;
}

int64_t Ledger::Imbalance(bool included) const {
    int64_t sum = 0;
    for (const auto& [code, slots] : included ? included_ : excluded_) {
        for (int s = 0; s < 15; ++s)
            sum += slots.debit[static_cast<std::size_t>(s)] -
                   slots.credit[static_cast<std::size_t>(s)];
    }
    return sum;
}

Ledger Ledger::CarryForward(int retainedEarningsCode) const {
    Ledger next;
    for (const ChartAccount& account : chart_)
        next.Add(account);
    for (const ChartAccount& account : chart_) {
        const int code = Code(account.number, account.sub);
        const bool hasSubs = account.sub == 0 && index_.count(code + 1) != 0;
        if ((account.kind >> 28) != 8 || hasSubs)
            continue;
        // Both views carry the tax-exclusive balances: the next year starts from one set of books.
        next.Opening(code, Balance(code, 14, false));
    }
    int64_t result = 0;
    for (const ChartAccount& account : chart_) {
        if (account.sub != 0 || (account.kind >> 28) != 4)
            continue;
        const int64_t balance = Balance(Code(account.number), 14, false);
        result += account.side == 2 ? balance : -balance;
    }
    next.Opening(retainedEarningsCode, result);
    return next;
}

void Ledger::FoldInto(int startUseMonth) {
    for (auto* table : {&excluded_, &included_}) {
        for (auto& [code, slots] : *table) {
            const bool debitSide = Account(code).side == 1;
            int64_t net = 0;
            for (int s = 0; s < startUseMonth; ++s) {
                net += slots.debit[static_cast<std::size_t>(s)] -
                       slots.credit[static_cast<std::size_t>(s)];
                slots.debit[static_cast<std::size_t>(s)] = 0;
                slots.credit[static_cast<std::size_t>(s)] = 0;
            }
            if (debitSide)
                slots.debit[0] = net;
            else
                slots.credit[0] = -net;
        }
    }
}

double Random::Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
}

int64_t Random::Around(int64_t yen, double spread) {
    const double factor = 1.0 + spread * (2.0 * Next() - 1.0);
    return static_cast<int64_t>(std::llround(static_cast<double>(yen) * factor)) * kYen;
}

namespace {

// An amount as the book format writes it: whole yen as a number, fractions as a string.
nlohmann::ordered_json Amount(int64_t raw) {
    if (raw % kYen == 0)
        return raw / kYen;
    const int64_t magnitude = raw < 0 ? -raw : raw;
    std::string fraction = std::to_string(magnitude % kYen + kYen).substr(1);
    while (fraction.back() == '0')
        fraction.pop_back();
    return (raw < 0 ? "-" : "") + std::to_string(magnitude / kYen) + "." + fraction;
}

bool AllZero(const std::array<int64_t, 15>& slots, int from, int to) {
    for (int s = from; s <= to; ++s) {
        if (slots[static_cast<std::size_t>(s)] != 0)
            return false;
    }
    return true;
}

void WriteFigures(nlohmann::ordered_json& out, const Slots& slots, int side) {
    const int64_t opening =
        side == 1 ? slots.debit[0] - slots.credit[0] : slots.credit[0] - slots.debit[0];
    if (opening != 0)
        out["opening"] = Amount(opening);
    auto months = [&](const std::array<int64_t, 15>& table, const char* key) {
        if (AllZero(table, 1, 12))
            return;
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (int s = 1; s <= 12; ++s)
            list.push_back(Amount(table[static_cast<std::size_t>(s)]));
        out[key] = list;
    };
    months(slots.debit, "debit");
    months(slots.credit, "credit");
    auto single = [&](int64_t raw, const char* key) {
        if (raw != 0)
            out[key] = Amount(raw);
    };
    single(slots.debit[kClosing], "closingDebit");
    single(slots.credit[kClosing], "closingCredit");
    single(slots.debit[kInterim], "interimDebit");
    single(slots.credit[kInterim], "interimCredit");
}

// The tax-inclusive figures that differ from the tax-exclusive ones.
void WriteIncluded(nlohmann::ordered_json& out, const Slots& excluded, const Slots& included,
                   int side) {
    nlohmann::ordered_json all = nlohmann::ordered_json::object();
    WriteFigures(all, included, side);
    nlohmann::ordered_json base = nlohmann::ordered_json::object();
    WriteFigures(base, excluded, side);
    nlohmann::ordered_json differing = nlohmann::ordered_json::object();
    for (const char* key : {"opening", "debit", "credit", "closingDebit", "closingCredit",
                            "interimDebit", "interimCredit"}) {
        const bool inAll = all.contains(key), inBase = base.contains(key);
        if (inAll && (!inBase || all[key] != base[key]))
            differing[key] = all[key];
        else if (!inAll && inBase)
            differing[key] = std::string(key) == "debit" || std::string(key) == "credit"
                                 ? nlohmann::ordered_json(std::vector<int>(12, 0))
                                 : nlohmann::ordered_json(0);
    }
    if (!differing.empty())
        out["taxIncluded"] = differing;
}

nlohmann::ordered_json AccountJson(const ChartAccount& account) {
    nlohmann::ordered_json out;
    out[account.sub == 0 ? "number" : "sub"] = account.sub == 0 ? account.number : account.sub;
    out["name"] = account.name;
    if (account.sub == 0) {
        char kind[9];
        std::snprintf(kind, sizeof kind, "%08X", static_cast<unsigned>(account.kind));
        out["kind"] = kind;
        out["side"] = account.side;
    }
    if (account.hideFlag1 != 0)
        out["hideFlag1"] = account.hideFlag1;
    if (account.hideFlag2 != 0)
        out["hideFlag2"] = account.hideFlag2;
    return out;
}

std::string DataSetJson(const DataSetInfo& info, const Ledger& ledger) {
    nlohmann::ordered_json head;
    head["dataId"] = info.dataId;
    head["dataNo"] = info.dataNo;
    head["companyName"] = info.companyName;
    head["periodStart"] = info.periodStart;
    head["periodEnd"] = info.periodEnd;
    head["interimClosing"] = info.interimClosing;
    head["startUseMonth"] = info.startUseMonth;
    head["equityLabel"] = info.equityLabel;
    head["taxIncludedPreset"] = info.taxIncludedPreset;
    std::string text = "    {\n";
    for (const auto& item : head.items())
        text += "      \"" + item.key() + "\": " + item.value().dump(-1, ' ', false) + ",\n";
    text += "      \"accounts\": [\n";
    const std::vector<ChartAccount>& chart = ledger.Chart();
    bool firstMain = true;
    for (std::size_t i = 0; i < chart.size(); ++i) {
        const ChartAccount& account = chart[i];
        if (account.sub != 0)
            continue;
        nlohmann::ordered_json main = AccountJson(account);
        const int code = ledger.Code(account.number);
        std::vector<std::string> subs;
        for (std::size_t j = i + 1; j < chart.size() && chart[j].number == account.number; ++j) {
            nlohmann::ordered_json sub = AccountJson(chart[j]);
            const int subCode = ledger.Code(chart[j].number, chart[j].sub);
            WriteFigures(sub, ledger.Excluded(subCode), account.side);
            WriteIncluded(sub, ledger.Excluded(subCode), ledger.Included(subCode), account.side);
            subs.push_back(sub.dump(-1, ' ', false));
        }
        text += firstMain ? "" : ",\n";
        firstMain = false;
        if (subs.empty()) {
            WriteFigures(main, ledger.Excluded(code), account.side);
            WriteIncluded(main, ledger.Excluded(code), ledger.Included(code), account.side);
            text += "        " + main.dump(-1, ' ', false);
            continue;
        }
        std::string head = main.dump(-1, ' ', false);
        head.pop_back(); // the closing brace
        text += "        " + head + ", \"subAccounts\": [\n";
        for (std::size_t k = 0; k < subs.size(); ++k)
            text += "          " + subs[k] + (k + 1 < subs.size() ? ",\n" : "\n");
        text += "        ]}";
    }
    text += "\n      ]\n    }";
    return text;
}

} // namespace

std::string WriteBook(const BookData& book) {
    nlohmann::ordered_json user;
    user["id"] = book.userId;
    user["selectedNo"] = {book.selectedFirst, book.selectedDataNo};
    std::string text = "{\n  \"user\": " + user.dump(-1, ' ', false) + ",\n  \"dataSets\": [\n";
    for (std::size_t i = 0; i < book.dataSets.size(); ++i) {
        text += DataSetJson(book.dataSets[i].first, book.dataSets[i].second);
        text += i + 1 < book.dataSets.size() ? ",\n" : "\n";
    }
    text += "  ]\n}\n";
    return text;
}

} // namespace bookgen
