#include "standin/book.h"

#include "platform/hex.h"
#include "standin/json_read.h"
#include "standin/kinds.h"
#include "standin/system.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace standin {

namespace {

using nlohmann::json;

constexpr int64_t kRawPerYen = 10000;
// Largest amount of one figure, in yen: below one trillion.
constexpr int64_t kMaxYen = 999999999999;

using platform::HexDigit;

uint32_t ReadKind(const json& value, const std::string& place) {
    if (!value.is_string())
        Fail(place, "種別コードは 16 進の文字列で書いてください。");
    std::string text = value.get<std::string>();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    if (text.empty() || text.size() > 8)
        Fail(place, "種別コードは 8 桁までの 16 進数です。");
    uint32_t code = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            Fail(place, "16 進数ではありません。");
        code = code * 16 + static_cast<uint32_t>(digit);
    }
    if (!IsDetailKind(code))
        Fail(place, "科目に使える種別コードではありません (standin/README.md の表を参照)。");
    return code;
}

AccountId ReadId(const json& value, const std::string& place) {
    if (!value.is_string() || value.get_ref<const std::string&>().size() != 32)
        Fail(place, "科目 ID は 32 桁の 16 進数の文字列です。");
    const std::string& text = value.get_ref<const std::string&>();
    AccountId id{};
    for (std::size_t i = 0; i < id.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            Fail(place, "16 進数ではありません。");
        id[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return id;
}

// An amount in yen: a JSON integer, or a string with up to four decimals.
int64_t ReadAmount(const json& value, const std::string& place) {
    if (value.is_number_float())
        Fail(place, "端数のある金額は \"1234.5678\" のように文字列で書いてください。");
    if (value.is_number())
        return ReadInteger(value, place, -kMaxYen, kMaxYen) * kRawPerYen;
    if (!value.is_string())
        Fail(place, "金額ではありません。");
    const std::string& text = value.get_ref<const std::string&>();
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    int64_t yen = 0;
    int digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        if (digits == 12)
            Fail(place, "金額が大きすぎます (1 兆円未満)。");
        yen = yen * 10 + (text[i] - '0');
    }
    int64_t fraction = 0;
    int decimals = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++decimals) {
            if (decimals == 4)
                Fail(place, "小数は 4 桁までです。");
            fraction = fraction * 10 + (text[i] - '0');
        }
        if (decimals == 0)
            Fail(place, "小数点の後に数字がありません。");
    }
    if (digits == 0 || i != text.size())
        Fail(place, "金額の書き方が正しくありません (例: \"-1234.5678\")。");
    for (int d = decimals; d < 4; ++d)
        fraction *= 10;
    const int64_t raw = yen * kRawPerYen + fraction;
    return negative ? -raw : raw;
}

void Add(int64_t& sum, int64_t value, const std::string& place) {
    if (__builtin_add_overflow(sum, value, &sum))
        Fail(place, "合計が 64 ビットの範囲を超えます。");
}

const char* const kFigureKeys[] = {"opening",       "debit",        "credit",       "closingDebit",
                                   "closingCredit", "interimDebit", "interimCredit"};

bool HasFigures(const json& object) {
    return std::any_of(std::begin(kFigureKeys), std::end(kFigureKeys),
                       [&](const char* key) { return object.contains(key); }) ||
           object.contains("taxIncluded");
}

void ReadMonths(const json& object, const std::string& place, const char* key,
                std::array<int64_t, kSlots>& slots) {
    const json* months = Find(object, key);
    if (months == nullptr)
        return;
    const std::string where = Key(place, key);
    if (!months->is_array() || months->size() > 12)
        Fail(where, "12 個までの金額の配列ではありません。");
    // The array gives all twelve months: those it leaves out are 0.
    std::fill(slots.begin() + 1, slots.begin() + 13, 0);
    for (std::size_t m = 0; m < months->size(); ++m)
        slots[m + 1] = ReadAmount((*months)[m], Index(where, m));
}

void ReadSingle(const json& object, const std::string& place, const char* key, int64_t& slot) {
    if (const json* value = Find(object, key))
        slot = ReadAmount(*value, Key(place, key));
}

// Reads the figure keys of object over figures; keys that are absent leave the slots as they are.
void ReadFigures(const json& object, const std::string& place, uint8_t side, Figures& figures) {
    if (const json* opening = Find(object, "opening")) {
        const int64_t amount = ReadAmount(*opening, Key(place, "opening"));
        figures.debit[0] = side == 1 ? amount : 0;
        figures.credit[0] = side == 1 ? 0 : amount;
    }
    ReadMonths(object, place, "debit", figures.debit);
    ReadMonths(object, place, "credit", figures.credit);
    ReadSingle(object, place, "closingDebit", figures.debit[kClosingSlot]);
    ReadSingle(object, place, "closingCredit", figures.credit[kClosingSlot]);
    ReadSingle(object, place, "interimDebit", figures.debit[kInterimSlot]);
    ReadSingle(object, place, "interimCredit", figures.credit[kInterimSlot]);
}

// A request that does not ask for the interim closing period gets its postings inside fiscal
// month 6 (see the cursor), so that sum must stay within 64 bits too.
void CheckInterimFold(const Figures& figures, const std::string& place) {
    for (const auto* side : {&figures.debit, &figures.credit}) {
        int64_t sum = (*side)[6];
        Add(sum, (*side)[kInterimSlot], place);
    }
}

void ReadBothFigures(const json& object, const std::string& place, Account& account) {
    ReadFigures(object, place, account.side, account.excluded);
    account.included = account.excluded;
    if (const json* included = Find(object, "taxIncluded")) {
        const std::string where = Key(place, "taxIncluded");
        CheckKeys(*included, where,
                  {"opening", "debit", "credit", "closingDebit", "closingCredit", "interimDebit",
                   "interimCredit"});
        ReadFigures(*included, where, account.side, account.included);
    }
    CheckInterimFold(account.excluded, place);
    CheckInterimFold(account.included, place);
}

void AddFigures(Figures& sum, const Figures& part, const std::string& place) {
    for (int s = 0; s < kSlots; ++s) {
        Add(sum.debit[s], part.debit[s], place);
        Add(sum.credit[s], part.credit[s], place);
    }
    CheckInterimFold(sum, place);
}

bool IsValidDate(int64_t date) {
    const int64_t year = date / 10000, month = date / 100 % 100, day = date % 100;
    if (year < 1900 || year > 2999 || month < 1 || month > 12 || day < 1)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int32_t ReadDate(const json& object, const std::string& place, const char* key) {
    const std::string where = Key(place, key);
    const int64_t date = ReadInteger(Require(object, place, key), where, 19000101, 29991231);
    if (!IsValidDate(date))
        Fail(where, "日付 (YYYYMMDD) ではありません。");
    return static_cast<int32_t>(date);
}

// 128 bits of FNV-1a over a tag and a number: stable between runs and builds.
AccountId HashId(const char* tag, uint32_t number) {
    AccountId id{};
    for (int half = 0; half < 2; ++half) {
        uint64_t h = 14695981039346656037ULL ^ static_cast<uint64_t>(half);
        auto mix = [&h](unsigned char c) {
            h ^= c;
            h *= 1099511628211ULL;
        };
        for (const char* p = tag; *p != '\0'; ++p)
            mix(static_cast<unsigned char>(*p));
        for (int shift = 0; shift < 32; shift += 8)
            mix(static_cast<unsigned char>(number >> shift));
        for (int b = 0; b < 8; ++b)
            id[static_cast<std::size_t>(half * 8 + b)] = static_cast<unsigned char>(h >> (8 * b));
    }
    return id;
}

AccountId TotalIdOf(uint32_t kind) {
    return HashId("standin-total", kind);
}

// A sub-account: the kind and side of its main account, figures of its own.
Account ReadSubAccount(const json& item, const std::string& at, const Account& main) {
    CheckKeys(item, at,
              {"sub", "name", "hideFlag1", "hideFlag2", "id", "opening", "debit", "credit",
               "closingDebit", "closingCredit", "interimDebit", "interimCredit", "taxIncluded"});
    Account sub;
    sub.isSub = true;
    sub.code = main.code +
               static_cast<int32_t>(ReadInteger(Require(item, at, "sub"), Key(at, "sub"), 1, 9999));
    sub.name = ReadText(Require(item, at, "name"), Key(at, "name"), 87, false);
    sub.kind = main.kind;
    sub.side = main.side;
    sub.hideFlag1 = OptionalFlag(item, at, "hideFlag1");
    sub.hideFlag2 = OptionalFlag(item, at, "hideFlag2");
    const json* id = Find(item, "id");
    sub.id = id != nullptr ? ReadId(*id, Key(at, "id")) : AccountIdOf(sub.code);
    ReadBothFigures(item, at, sub);
    return sub;
}

void ReadAccount(const json& object, const std::string& place, DataSet& data,
                 std::set<int32_t>& codes, std::set<AccountId>& ids) {
    CheckKeys(object, place,
              {"number", "name", "kind", "side", "hideFlag1", "hideFlag2", "id", "subAccounts",
               "opening", "debit", "credit", "closingDebit", "closingCredit", "interimDebit",
               "interimCredit", "taxIncluded"});
    Account main;
    main.code = static_cast<int32_t>(
        ReadInteger(Require(object, place, "number"), Key(place, "number"), 1, 9999) * 10000);
    main.name = ReadText(Require(object, place, "name"), Key(place, "name"), 87, false);
    main.kind = ReadKind(Require(object, place, "kind"), Key(place, "kind"));
    main.side =
        static_cast<uint8_t>(ReadInteger(Require(object, place, "side"), Key(place, "side"), 1, 2));
    main.hideFlag1 = OptionalFlag(object, place, "hideFlag1");
    main.hideFlag2 = OptionalFlag(object, place, "hideFlag2");
    const json* id = Find(object, "id");
    main.id = id != nullptr ? ReadId(*id, Key(place, "id")) : AccountIdOf(main.code);
    std::vector<Account> subs;
    if (const json* subList = Find(object, "subAccounts")) {
        const std::string where = Key(place, "subAccounts");
        if (!subList->is_array())
            Fail(where, "配列ではありません。");
        if (HasFigures(object))
            Fail(where, "補助科目を持つ科目に金額は書けません (補助科目の合計になります)。");
        for (std::size_t i = 0; i < subList->size(); ++i) {
            subs.push_back(ReadSubAccount((*subList)[i], Index(where, i), main));
            AddFigures(main.excluded, subs.back().excluded, Index(where, i));
            AddFigures(main.included, subs.back().included, Index(where, i));
        }
    } else {
        ReadBothFigures(object, place, main);
    }
    data.accounts.push_back(main);
    for (Account& sub : subs)
        data.accounts.push_back(std::move(sub));
    for (std::size_t i = data.accounts.size() - subs.size() - 1; i < data.accounts.size(); ++i) {
        const Account& account = data.accounts[i];
        if (!codes.insert(account.code).second)
            Fail(place, "科目コード " + std::to_string(account.code) + " が重複しています。");
        if (!ids.insert(account.id).second)
            Fail(place, "科目 ID が重複しています (コード " + std::to_string(account.code) + ")。");
    }
}

void ComputeTotals(DataSet& data, std::set<AccountId>& ids, const std::string& place) {
    for (const TotalKind& kind : TotalKinds()) {
        TotalRow row;
        row.kind = kind.code;
        row.side = kind.side;
        row.grandTotal = kind.grandTotal;
        row.id = TotalIdOf(kind.code);
        if (!ids.insert(row.id).second)
            Fail(place, "科目 ID が集計行の ID と重複しています。");
        for (const Account& account : data.accounts) {
            if (account.isSub || !IsMember(kind, account.kind))
                continue;
            AddFigures(row.excluded, account.excluded, place);
            AddFigures(row.included, account.included, place);
        }
        data.totals.push_back(row);
    }
}

void ReadDataSet(const json& object, const std::string& place, DataSet& data) {
    CheckKeys(object, place,
              {"dataId", "dataNo", "companyName", "periodStart", "periodEnd", "interimClosing",
               "startUseMonth", "equityLabel", "taxIncludedPreset", "accounts"});
    data.dataId = ReadText(Require(object, place, "dataId"), Key(place, "dataId"), 15, false);
    data.dataNo = static_cast<int32_t>(
        ReadInteger(Require(object, place, "dataNo"), Key(place, "dataNo"), INT32_MIN, INT32_MAX));
    data.companyName =
        ReadText(Require(object, place, "companyName"), Key(place, "companyName"), 259, true);
    data.periodStart = ReadDate(object, place, "periodStart");
    data.periodEnd = ReadDate(object, place, "periodEnd");
    // The period is at most one year: it ends before the same day of the next year.
    if (data.periodEnd < data.periodStart || data.periodEnd >= data.periodStart + 10000)
        Fail(Key(place, "periodEnd"), "会計期間は開始日から 1 年以内に終わる必要があります。");
    data.interimClosing = OptionalFlag(object, place, "interimClosing");
    if (data.interimClosing > 1)
        Fail(Key(place, "interimClosing"), "0 か 1 です。");
    data.startUseMonth =
        static_cast<int16_t>(OptionalInteger(object, place, "startUseMonth", 1, 99, 1));
    if (data.startUseMonth > 12 && data.startUseMonth != 99)
        Fail(Key(place, "startUseMonth"), "導入開始月は 1 から 12、または 99 (過年度) です。");
    data.equityLabel = OptionalFlag(object, place, "equityLabel");
    data.taxIncludedPreset = OptionalFlag(object, place, "taxIncludedPreset");
    const std::string where = Key(place, "accounts");
    const json& accounts = Require(object, place, "accounts");
    if (!accounts.is_array())
        Fail(where, "配列ではありません。");
    std::set<int32_t> codes;
    std::set<AccountId> ids;
    for (std::size_t i = 0; i < accounts.size(); ++i)
        ReadAccount(accounts[i], Index(where, i), data, codes, ids);
    ComputeTotals(data, ids, where);
}

void ReadBook(const json& doc, Book& book) {
    CheckKeys(doc, "", {"user", "dataSets"});
    const json& user = Require(doc, "", "user");
    CheckKeys(user, "/user", {"id", "selectedNo"});
    book.userId = ReadText(Require(user, "/user", "id"), "/user/id", 64, false);
    const json& selected = Require(user, "/user", "selectedNo");
    if (!selected.is_array() || selected.size() != 2)
        Fail("/user/selectedNo", "2 つの整数の配列ではありません。");
    book.selectedFirst =
        static_cast<int32_t>(ReadInteger(selected[0], "/user/selectedNo/0", INT32_MIN, INT32_MAX));
    book.selectedDataNo =
        static_cast<int32_t>(ReadInteger(selected[1], "/user/selectedNo/1", INT32_MIN, INT32_MAX));
    const json& sets = Require(doc, "", "dataSets");
    if (!sets.is_array() || sets.empty())
        Fail("/dataSets", "データの配列ではないか、空です。");
    std::set<std::string> dataIds;
    std::set<int32_t> dataNos;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const std::string place = Index("/dataSets", i);
        DataSet data;
        ReadDataSet(sets[i], place, data);
        if (!dataIds.insert(data.dataId).second)
            Fail(Key(place, "dataId"), "データ ID が重複しています。");
        if (!dataNos.insert(data.dataNo).second)
            Fail(Key(place, "dataNo"), "データ番号が重複しています。");
        book.dataSets.push_back(std::move(data));
    }
}

} // namespace

AccountId AccountIdOf(int32_t code) {
    return HashId("standin-account", static_cast<uint32_t>(code));
}

bool ParseBook(const std::string& text, Book& book, BookError& error) {
    json doc;
    JsonProblem problem;
    if (!ParseJson(text, doc, problem)) {
        error = {problem.place, problem.problem};
        return false;
    }
    try {
        ReadBook(doc, book);
    } catch (const JsonProblem& p) {
        error = {p.place, p.problem};
        return false;
    } catch (const json::exception& e) {
        error = {"/", e.what()};
        return false;
    }
    return true;
}

} // namespace standin
