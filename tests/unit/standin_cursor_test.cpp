// The stand-in host's objects over a small book: data sets, the account master with its
// searches, the account-total cursor with its total rows and marks, fault injection, the
// consumption-tax settings, the folders and the accounting period.
#include "host/bookhub.h"
#include "host/hostconn.h"
#include "host/pathdesk.h"
#include "standin/config.h"
#include "standin/testing.h"
#include "support/process_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

// Data set T2 is selected. Hand-computed sums are in the tests.
const char kBook[] = u8R"({
  "user": { "id": "tester", "selectedNo": [1, 2] },
  "dataSets": [
    { "dataId": "T1", "dataNo": 1, "companyName": "テスト商事", "periodStart": 20230401,
      "periodEnd": 20240331, "accounts": [
        { "number": 1110, "name": "現金", "kind": "80881000", "side": 1, "opening": 9 } ] },
    { "dataId": "T2", "dataNo": 2, "companyName": "テスト商事", "periodStart": 20240401,
      "periodEnd": 20250331, "interimClosing": 1, "startUseMonth": 1, "equityLabel": 1,
      "taxIncludedPreset": 1, "accounts": [
        { "number": 1110, "name": "現金", "kind": "80881000", "side": 1,
          "opening": 1000, "debit": [100, 200], "credit": [50] },
        { "number": 1130, "name": "普通預金", "kind": "80881000", "side": 1, "subAccounts": [
            { "sub": 1, "name": "A銀行", "opening": 500, "debit": [0, 0, 30] },
            { "sub": 2, "name": "B銀行", "opening": "0.5", "credit": [10] } ] },
        { "number": 1160, "name": "売掛金", "kind": "80883000", "side": 1, "hideFlag2": 1,
          "opening": 2000, "debit": [300], "credit": [0, 150], "closingCredit": 20 },
        { "number": 1250, "name": "立替金", "kind": "80889000", "side": 1, "hideFlag1": 1 },
        { "number": 2120, "name": "買掛金", "kind": "80482000", "side": 2,
          "opening": 1200, "credit": [80], "debit": [0, 40] },
        { "number": 3110, "name": "資本金", "kind": "80201000", "side": 2, "opening": "2300.5" },
        { "number": 4110, "name": "売上高", "kind": "40888100", "side": 2, "credit": [300],
          "taxIncluded": { "credit": [330] } },
        { "number": 5120, "name": "仕入高", "kind": "40884500", "side": 1, "debit": [80],
          "taxIncluded": { "debit": [88] } },
        { "number": 6120, "name": "給料手当", "kind": "40882200", "side": 1,
          "debit": [50, 150], "interimDebit": 7 }
      ] } ]
})";

constexpr int64_t kYen = 10000;

std::string Folder() {
    return testsupport::ProcessFolder();
}

StFINDINFO Term(int32_t field, int16_t op, int16_t type, int32_t value, int16_t link) {
    StFINDINFO term{};
    term.set_field(field);
    term.set_op(op);
    term.set_valueType(type);
    term.set_value32(value);
    term.set_link(link);
    return term;
}

// The terms of a request for months from..to, optionally or month codes.
std::vector<StFINDINFO> MonthRequest(int16_t from, int16_t to, std::vector<int16_t> extra) {
    std::vector<StFINDINFO> terms(4, StFINDINFO{});
    terms[0] = Term(17, 4, 2, from, 1);
    terms[1] = Term(17, 6, 2, to, extra.empty() ? 0 : 2);
    for (std::size_t i = 0; i < extra.size(); ++i)
        terms[2 + i] = Term(17, 1, 2, extra[i], i + 1 < extra.size() ? 2 : 0);
    return terms;
}

int64_t Balance(const StKAMOKUSUMINFO& row, bool included) {
    int64_t balance = 0;
    for (int s = 0; s < StKAMOKUSUMINFO::kSlots; ++s)
        balance += row.moveA(included, s) - row.moveB(included, s);
    return row.side() == 1 ? balance : -balance;
}

class StandinHostTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::ofstream(Folder() + "standin_cursor_book.json", std::ios::binary) << kBook;
        configPath_ = Config("standin_cursor_host.json", "");
    }
    static std::string Config(const std::string& name, const std::string& extra) {
        const std::string path = Folder() + name;
        std::ofstream(path, std::ios::binary)
            << R"({ "book": "standin_cursor_book.json", "outputFolder": "out",
                    "settingsFolder": "." )"
            << extra << "}";
        return path;
    }
    void SetUp() override { ASSERT_TRUE(standin::ReloadConfig(configPath_)); }
    void TearDown() override { standin::ReloadConfig(""); }

    static ClSetKamoku* Accounts() {
        return static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1));
    }
    // Codes delivered by WalkFind with the given terms.
    static std::vector<int32_t> Find(const std::vector<StFINDINFO>& terms,
                                     long* lastResult = nullptr) {
        ClSetKamoku* set = Accounts();
        long cursor = 0;
        EXPECT_EQ(0, set->GetCursor(&cursor));
        EXPECT_EQ(0, set->ReadyCursor(cursor));
        std::vector<int32_t> codes;
        StKAMOKUINFO info{};
        long result = 0;
        while ((result = set->WalkFind(terms.data(), &info, cursor)) == 0)
            codes.push_back(info.code());
        if (lastResult != nullptr)
            *lastResult = result;
        EXPECT_EQ(0, set->ReleaseCursor(cursor));
        return codes;
    }
    // Every row of the cursor for a request, by kind code for the total rows.
    static std::vector<StKAMOKUSUMINFO> Rows(const std::vector<StFINDINFO>& request) {
        ClRuleKamoku rule;
        EXPECT_EQ(0, rule.AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()));
        EXPECT_EQ(0, rule.SetCurDataID("T2"));
        EXPECT_EQ(0, rule.AttachOptLink(ClLinkMgr::Inst()->GetOptLink()));
        EXPECT_EQ(0, rule.MoveReady(1, 0, 0, request.data(), nullptr, 0));
        long count = 0;
        EXPECT_EQ(0, rule.GetSumCount(&count));
        EXPECT_EQ(0, rule.SetMovePos(0));
        std::vector<StKAMOKUSUMINFO> rows;
        StKAMOKUSUMINFO row{};
        for (long i = 0; i < count; ++i) {
            EXPECT_EQ(0, rule.MoveNext(&row)) << "row " << i;
            rows.push_back(row);
        }
        EXPECT_EQ(kHostEndOfRows, rule.MoveNext(&row));
        EXPECT_EQ(kHostEndOfRows, rule.MoveNext(&row));
        EXPECT_EQ(0, rule.MoveFinish());
        return rows;
    }
    static const StKAMOKUSUMINFO& Total(const std::vector<StKAMOKUSUMINFO>& rows, uint32_t kind) {
        for (const StKAMOKUSUMINFO& row : rows) {
            if (row.kindCode() == kind && row.totalMark() == 1)
                return row;
        }
        static const StKAMOKUSUMINFO none{};
        ADD_FAILURE() << "no total row " << std::hex << kind;
        return none;
    }
    static std::string configPath_;
};

std::string StandinHostTest::configPath_;

TEST_F(StandinHostTest, DataSetsUserAndSelection) {
    ClSetData* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
    StDATAINFO info;
    ASSERT_EQ(0, data->GetSelectedInfo(&info));
    EXPECT_STREQ("T2", info.dataId());
    EXPECT_EQ(2, info.dataNo());
    EXPECT_STREQ("テスト商事", info.companyName());
    EXPECT_EQ(20240401, info.periodStart());
    EXPECT_EQ(20250331, info.periodEnd());
    EXPECT_EQ(1, info.interimClosing());
    EXPECT_EQ(1, info.startUseMonth());
    EXPECT_EQ(1, info.equityLabel());

    long cursor = 0;
    ASSERT_EQ(0, data->GetDatCursor(&cursor));
    ASSERT_EQ(0, data->ReadyDat(cursor, 0));
    std::vector<int32_t> numbers;
    while (data->WalkDat(&info, cursor) == 0)
        numbers.push_back(info.dataNo());
    EXPECT_EQ((std::vector<int32_t>{1, 2}), numbers);
    EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
    EXPECT_NE(0, data->ReleaseDatCursor(cursor));

    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char id[65];
    ASSERT_EQ(0, user->GetCurUserID(id));
    EXPECT_STREQ("tester", id);
    long first = 0, selected = 0;
    EXPECT_EQ(0, user->GetSelectedNo(id, &first, &selected));
    EXPECT_EQ(1, first);
    EXPECT_EQ(2, selected);
    EXPECT_NE(0, user->GetSelectedNo("someone", &first, &selected));
}

TEST_F(StandinHostTest, WalkDeliversEveryAccountWithFlagsKindsAndSides) {
    ClSetKamoku* set = Accounts();
    long cursor = 0;
    ASSERT_EQ(0, set->GetCursor(&cursor));
    ASSERT_EQ(0, set->ReadyCursor(cursor));
    std::map<int32_t, StKAMOKUINFO> seen;
    std::vector<int32_t> order;
    StKAMOKUINFO info{};
    while (set->Walk(&info, cursor) == 0) {
        seen[info.code()] = info;
        order.push_back(info.code());
    }
    EXPECT_EQ(0, set->ReleaseCursor(cursor));
    EXPECT_EQ((std::vector<int32_t>{11100000, 11300000, 11300001, 11300002, 11600000, 12500000,
                                    21200000, 31100000, 41100000, 51200000, 61200000}),
              order);
    EXPECT_STREQ("A銀行", seen[11300001].name());
    EXPECT_EQ(1, seen[11600000].hideFlag2());
    EXPECT_EQ(0, seen[11600000].hideFlag1());
    EXPECT_EQ(1, seen[12500000].hideFlag1());
    EXPECT_EQ(0x80482000u, seen[21200000].kindCode());
    EXPECT_EQ(2, seen[21200000].side());
    EXPECT_EQ(0x80881000u, seen[11300002].kindCode());
    EXPECT_NE(0, std::memcmp(seen[11100000].accountId(), seen[11300000].accountId(), 16));
}

TEST_F(StandinHostTest, WalkFindByCodeAllAndOrLinkedKinds) {
    EXPECT_EQ((std::vector<int32_t>{11600000}), Find({Term(2, 1, 3, 11600000, 0)}));
    EXPECT_TRUE(Find({Term(2, 1, 3, 11600001, 0)}).empty());
    EXPECT_EQ(11u, Find({Term(2, 2, 3, 0, 0)}).size());

    // Ten kind terms, zero slots included, as the mapping dialog asks: kind 0 matches nothing.
    std::vector<StFINDINFO> kinds(10);
    for (int i = 0; i < 10; ++i)
        kinds[static_cast<std::size_t>(i)] = Term(16, 1, 19, 0, i < 9 ? 2 : 0);
    kinds[0].set_kindValue(0x80881000);
    kinds[1].set_kindValue(0x80482000);
    EXPECT_EQ((std::vector<int32_t>{11100000, 11300000, 11300001, 11300002, 21200000}),
              Find(kinds));
    kinds[0].set_kindValue(0);
    kinds[1].set_kindValue(0);
    EXPECT_TRUE(Find(kinds).empty());

    // "and" binds closer than "or".
    EXPECT_EQ((std::vector<int32_t>{11300000, 41100000}),
              Find({Term(16, 1, 19, 0x80881000, 1), Term(2, 1, 3, 11300000, 2),
                    Term(2, 1, 3, 41100000, 0)}));
    long result = 0;
    EXPECT_TRUE(Find({Term(17, 1, 2, 1, 0)}, &result).empty());
    EXPECT_EQ(2, result) << "a month term is no account term";
    std::vector<StFINDINFO> endless(10);
    for (auto& term : endless)
        term = Term(2, 2, 3, 0, 2);
    EXPECT_TRUE(Find(endless, &result).empty());
    EXPECT_EQ(2, result) << "terms must end within ten";
}

TEST_F(StandinHostTest, TotalRowsAgainstHandComputedSums) {
    const std::vector<StKAMOKUSUMINFO> rows = Rows(MonthRequest(1, 12, {15, 18}));
    ASSERT_EQ(11u + 22u, rows.size());
    // Assets: 1000 + 500 + 0.5 + 2000 opening, debits 100 + 200 + 30 + 300, credits 50 + 10
    // + 150 + 20.
    EXPECT_EQ(39005000, Balance(Total(rows, 0x80800000), false));
    EXPECT_EQ(1, Total(rows, 0x80800000).side());
    EXPECT_EQ(35005000, Total(rows, 0x80800000).moveA(false, 0));
    EXPECT_EQ(1240 * kYen, Balance(Total(rows, 0x80400000), false));
    // Capital: 2300.5 plus the result 300 - 80 - 50 - 150 - 7.
    EXPECT_EQ(23135000, Balance(Total(rows, 0x80200000), false));
    EXPECT_EQ(300 * kYen, Balance(Total(rows, 0x40888000), false));
    EXPECT_EQ(80 * kYen, Balance(Total(rows, 0x40884000), false));
    EXPECT_EQ(220 * kYen, Balance(Total(rows, 0x40880008), false));
    EXPECT_EQ(207 * kYen, Balance(Total(rows, 0x40882000), false));
    EXPECT_EQ(13 * kYen, Balance(Total(rows, 0x40880000), false));
    EXPECT_EQ(13 * kYen, Balance(Total(rows, 0x40200080), false));
    EXPECT_EQ(0, Balance(Total(rows, 0x40480000), false));
    // Tax-inclusive figures: sales 330, purchases 88.
    EXPECT_EQ(242 * kYen, Balance(Total(rows, 0x40880008), true));
    EXPECT_EQ(330 * kYen, Total(rows, 0x40888000).moveB(true, 1));
    EXPECT_EQ(300 * kYen, Total(rows, 0x40888000).moveB(false, 1));
    // Slots: interim postings in 14, year-end closing postings in 13.
    EXPECT_EQ(7 * kYen, Total(rows, 0x40882000).moveA(false, 14));
    EXPECT_EQ(20 * kYen, Total(rows, 0x80800000).moveB(false, 13));
}

TEST_F(StandinHostTest, InterimPostingsCountOnceWhateverTheRequest) {
    // Asked for, the interim closing period has its own slot.
    const std::vector<StKAMOKUSUMINFO> withInterim = Rows(MonthRequest(1, 6, {15}));
    EXPECT_EQ(7 * kYen, Total(withInterim, 0x40882000).moveA(false, 14));
    EXPECT_EQ(0, Total(withInterim, 0x40882000).moveA(false, 6));
    // A year without it still holds the interim postings: inside fiscal month 6.
    const std::vector<StKAMOKUSUMINFO> year = Rows(MonthRequest(1, 12, {18}));
    EXPECT_EQ(0, Total(year, 0x40882000).moveA(false, 14));
    EXPECT_EQ(7 * kYen, Total(year, 0x40882000).moveA(false, 6));
    EXPECT_EQ(207 * kYen, Balance(Total(year, 0x40882000), false));
    // Months before the interim closing do not hold it.
    const std::vector<StKAMOKUSUMINFO> quarter = Rows(MonthRequest(1, 3, {}));
    EXPECT_EQ(0, Total(quarter, 0x40882000).moveA(false, 6));
    EXPECT_EQ(0, Total(quarter, 0x40882000).moveA(false, 14));
}

TEST_F(StandinHostTest, MarksAsATrialBalanceSetsThem) {
    const std::vector<StKAMOKUSUMINFO> rows = Rows(MonthRequest(1, 12, {18}));
    struct Marks {
        int sub, total, noMap;
    };
    auto marks = [](const StKAMOKUSUMINFO& row) {
        return Marks{row.subMark(), row.totalMark(), row.noMapMark()};
    };
    // Main accounts: none; sub-accounts: sub and no-map.
    for (int i : {0, 1, 4, 5, 6, 7, 8, 9, 10}) {
        const Marks m = marks(rows[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(m.sub == 0 && m.total == 0 && m.noMap == 0) << "row " << i;
    }
    for (int i : {2, 3}) {
        const Marks m = marks(rows[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(m.sub == 1 && m.total == 0 && m.noMap == 1) << "row " << i;
    }
    // The ten totals the program reads are grand totals; current assets is a sub-total.
    for (uint32_t kind : {0x40888000u, 0x40884000u, 0x40880008u, 0x40880000u, 0x40480000u,
                          0x40440000u, 0x40200080u, 0x80200000u, 0x80800000u, 0x80400000u}) {
        const Marks m = marks(Total(rows, kind));
        EXPECT_TRUE(m.sub == 0 && m.total == 1 && m.noMap == 1) << std::hex << kind;
    }
    const Marks current = marks(Total(rows, 0x80880000));
    EXPECT_TRUE(current.sub == 1 && current.total == 1 && current.noMap == 1);
    // Each total kind appears once, on a total row only.
    int beforeTax = 0;
    for (const StKAMOKUSUMINFO& row : rows)
        beforeTax += row.kindCode() == 0x40200080;
    EXPECT_EQ(1, beforeTax);
    // Account rows carry the account identifiers of the master.
    StKAMOKUINFO cash{};
    long cursor = 0;
    Accounts()->GetCursor(&cursor);
    Accounts()->Walk(&cash, cursor);
    Accounts()->ReleaseCursor(cursor);
    EXPECT_EQ(0, std::memcmp(cash.accountId(), rows[0].accountId(), 16));
}

TEST_F(StandinHostTest, MonthTermsDeliverTheRequestedMonthsAndTheOpeningPart) {
    const std::vector<StKAMOKUSUMINFO> firstMonth = Rows(MonthRequest(1, 1, {}));
    EXPECT_EQ(1000 * kYen, firstMonth[0].moveA(false, 0));
    EXPECT_EQ(100 * kYen, firstMonth[0].moveA(false, 1));
    EXPECT_EQ(0, firstMonth[0].moveA(false, 2)) << "month 2 was not requested";
    EXPECT_EQ(0, firstMonth[4].moveB(false, 13)) << "closing period was not requested";

    const std::vector<StKAMOKUSUMINFO> secondHalf = Rows(MonthRequest(2, 6, {15}));
    EXPECT_EQ(100 * kYen, secondHalf[0].moveA(false, 1)) << "months before the range stay";
    EXPECT_EQ(200 * kYen, secondHalf[0].moveA(false, 2));
    EXPECT_EQ(7 * kYen, secondHalf[10].moveA(false, 14));
    EXPECT_EQ(0, secondHalf[4].moveB(false, 13));

    ClRuleKamoku rule;
    rule.SetCurDataID("T2");
    const StFINDINFO bad[] = {Term(2, 1, 3, 1, 0)};
    EXPECT_EQ(3, rule.MoveReady(1, 0, 0, bad, nullptr, 0));
    long count = 0;
    EXPECT_NE(0, rule.GetSumCount(&count));
    EXPECT_NE(0, rule.SetCurDataID("NOPE"));
    EXPECT_EQ(1, rule.MoveReady(1, 0, 0, MonthRequest(1, 12, {}).data(), nullptr, 0));
}

TEST_F(StandinHostTest, FaultsOfTheCursor) {
    const std::vector<StFINDINFO> request = MonthRequest(1, 12, {18});
    auto prepared = [&](ClRuleKamoku& rule) {
        rule.SetCurDataID("T2");
        return rule.MoveReady(1, 0, 0, request.data(), nullptr, 0);
    };
    ASSERT_TRUE(standin::ReloadConfig(
        Config("standin_fault1.json", R"(, "faults": { "getSumCount": 7, "setMovePos": 8 })")));
    {
        ClRuleKamoku rule;
        ASSERT_EQ(0, prepared(rule));
        long count = -1;
        EXPECT_EQ(7, rule.GetSumCount(&count));
        EXPECT_EQ(8, rule.SetMovePos(0));
    }
    ASSERT_TRUE(standin::ReloadConfig(
        Config("standin_fault2.json",
               R"(, "faults": { "moveNextErrorRow": 3, "moveNextErrorCode": 42 })")));
    {
        ClRuleKamoku rule;
        ASSERT_EQ(0, prepared(rule));
        long count = 0;
        EXPECT_EQ(0, rule.GetSumCount(&count));
        StKAMOKUSUMINFO row{};
        EXPECT_EQ(0, rule.MoveNext(&row));
        EXPECT_EQ(0, rule.MoveNext(&row));
        EXPECT_EQ(42, rule.MoveNext(&row));
        EXPECT_EQ(42, rule.MoveNext(&row)) << "the failing row stays failing";
    }
    ASSERT_TRUE(standin::ReloadConfig(
        Config("standin_fault3.json", R"(, "faults": { "taxGet": 5, "selectedDataNo": 99 })")));
    StSHOHIZEIINFO tax{};
    ClSetShohizei* taxSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
    EXPECT_EQ(5, taxSet->Get(&tax));
    StDATAINFO info;
    EXPECT_NE(
        0, static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&info));
    ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
    char id[65];
    user->GetCurUserID(id);
    long first = 0, selected = 0;
    user->GetSelectedNo(id, &first, &selected);
    EXPECT_EQ(99, selected);
    // The fault selects any data set by its number.
    ASSERT_TRUE(standin::ReloadConfig(
        Config("standin_fault4.json", R"(, "faults": { "selectedDataNo": 1 })")));
    ASSERT_EQ(
        0, static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&info));
    EXPECT_STREQ("T1", info.dataId());
}

TEST_F(StandinHostTest, RowDelayIsReadWithinItsRangeAndChangesNoRow) {
    const std::vector<StFINDINFO> request = MonthRequest(1, 12, {18});
    const std::vector<StKAMOKUSUMINFO> quick = Rows(request);
    ASSERT_TRUE(standin::ReloadConfig(Config("standin_delay.json", R"(, "rowDelayMs": 1)")));
    EXPECT_EQ(1, standin::GetConfig().rowDelayMs);
    const std::vector<StKAMOKUSUMINFO> slow = Rows(request);
    ASSERT_EQ(quick.size(), slow.size());
    for (std::size_t i = 0; i < quick.size(); ++i)
        EXPECT_EQ(0, std::memcmp(&quick[i], &slow[i], sizeof quick[i])) << "row " << i;
    EXPECT_FALSE(
        standin::ReloadConfig(Config("standin_delay_bad.json", R"(, "rowDelayMs": 10001)")));
    EXPECT_FALSE(standin::ReloadConfig(Config("standin_delay_neg.json", R"(, "rowDelayMs": -1)")));
}

TEST_F(StandinHostTest, TaxSettingsAndFolders) {
    ClSetShohizei* taxSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
    ASSERT_EQ(0, taxSet->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()));
    ASSERT_EQ(0, taxSet->SetCurDataID("T2"));
    StSHOHIZEIINFO tax;
    std::memset(tax.bytes, 0xEE, sizeof tax.bytes);
    ASSERT_EQ(0, taxSet->Get(&tax));
    EXPECT_EQ(1, tax.taxIncludedPreset());
    EXPECT_EQ(0, tax.bytes[0]);
    ASSERT_EQ(0, taxSet->SetCurDataID("T1"));
    ASSERT_EQ(0, taxSet->Get(&tax));
    EXPECT_EQ(0, tax.taxIncludedPreset());

    const std::string folder = Folder();
    EXPECT_EQ(folder + "out/", ClFileMgr::Inst()->GetAppFolderPath(0));
    EXPECT_EQ(folder, ClFileMgr::Inst()->GetAppFolderPath(1));
    EXPECT_STREQ("", ClFileMgr::Inst()->GetAppFolderPath(2));
    EXPECT_EQ(nullptr, ClDataMgr::Inst()->GetSetObject(2, 1));
}

TEST_F(StandinHostTest, ReloadKeepsSetObjectsAndBindsThemToTheNewSelection) {
    ClSetShohizei* taxSet = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
    ClSetKamoku* accounts = Accounts();
    ASSERT_EQ(0, taxSet->SetCurDataID("T1"));
    long cursor = 0;
    ASSERT_EQ(0, accounts->GetCursor(&cursor));
    ASSERT_TRUE(standin::ReloadConfig(configPath_));
    EXPECT_EQ(taxSet, ClDataMgr::Inst()->GetSetObject(4, 1));
    StSHOHIZEIINFO tax{};
    ASSERT_EQ(0, taxSet->Get(&tax));
    EXPECT_EQ(1, tax.taxIncludedPreset()) << "bound again to the selected T2";
    StKAMOKUINFO info{};
    EXPECT_NE(0, accounts->Walk(&info, cursor)) << "cursors of the old book are dropped";
    EXPECT_NE(0, accounts->ReleaseCursor(cursor));
    EXPECT_NE(0, taxSet->SetCurDataID("NOPE"));
    EXPECT_NE(0, taxSet->Get(&tax)) << "an unknown data ID serves no data";
}

TEST(StandinPeriodTest, ClosingDayFromTheEndDate) {
    ClAccPeriod period;
    short day = 0;
    ASSERT_EQ(0, period.GetClosingDayByEndDate(20210331, 0, &day));
    EXPECT_EQ(31, day);
    ASSERT_EQ(0, period.GetClosingDayByEndDate(20200229, 0, &day));
    EXPECT_EQ(31, day) << "the last day of a leap February is the month end";
    ASSERT_EQ(0, period.GetClosingDayByEndDate(20210320, 0, &day));
    EXPECT_EQ(20, day);
    EXPECT_NE(0, period.GetClosingDayByEndDate(20210230, 0, &day));
    EXPECT_NE(0, period.SetPeriod(20210401, 20200331));
    EXPECT_NE(0, period.SetClosingDay(0));
    EXPECT_NE(0, period.SetClosingDay(32));
}

TEST(StandinPeriodTest, AccountingMonthsUnderMonthEndAndTwentiethClosing) {
    ClAccPeriod period;
    ASSERT_EQ(0, period.SetPeriod(20200401, 20210331));
    short month = 0;
    const struct {
        short closingDay;
        long date;
        short month;
    } cases[] = {
        {31, 20200401, 4}, {31, 20200430, 4}, {31, 20210331, 3}, {31, 20201231, 12},
        {20, 20200320, 3}, {20, 20200321, 4}, {20, 20200420, 4}, {20, 20200421, 5},
        {20, 20201221, 1}, {20, 20210120, 1}, {30, 20200229, 2}, {30, 20200331, 4},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0, period.SetClosingDay(c.closingDay));
        ASSERT_EQ(0, period.GetAMonthByDate(c.date, &month, 0));
        EXPECT_EQ(c.month, month) << "date " << c.date << " closing day " << c.closingDay;
    }
    EXPECT_NE(0, period.GetAMonthByDate(20201301, &month, 0));
}

} // namespace
