// The stand-in host's book reader: valid books, every kind of bad input, and the delivered
// sample books (loaded through the configuration, as the programs load them).
#include "host/bookhub.h"
#include "host/hostconn.h"
#include "standin/book.h"
#include "standin/config.h"
#include "standin/system.h"
#include "standin/testing.h"
#include "support/process_folder.h"
#include "support/served_book.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const char kGoodBook[] = u8R"({
  "user": { "id": "tester", "selectedNo": [1, 2] },
  "dataSets": [ {
    "dataId": "T2", "dataNo": 2, "companyName": "テスト商事",
    "periodStart": 20240401, "periodEnd": 20250331,
    "accounts": [
      { "number": 1110, "name": "現金", "kind": "80881000", "side": 1,
        "opening": "12.5", "debit": [100, "-0.0001"], "credit": [50],
        "closingDebit": 7, "interimCredit": "0.25", "taxIncluded": { "debit": [110] } },
      { "number": 1130, "name": "普通預金", "kind": "0x80881000", "side": 1,
        "subAccounts": [ { "sub": 1, "name": "A銀行", "opening": 500 },
                         { "sub": 2, "name": "B銀行", "credit": [10], "hideFlag2": true } ] },
      { "number": 2120, "name": "買掛金", "kind": "80482000", "side": 2, "opening": 40,
        "_note": "comments are allowed" }
    ] } ]
})";

std::string BookWith(const std::string& accounts) {
    return u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [ {
      "dataId": "D", "dataNo": 1, "companyName": "C", "periodStart": 20240401,
      "periodEnd": 20250331, "accounts": [ )" +
           accounts + "] } ] }";
}

TEST(StandinBookTest, ReadsFiguresSubAccountsAndTaxIncludedOverrides) {
    standin::Book book;
    standin::BookError error;
    ASSERT_TRUE(standin::ParseBook(kGoodBook, book, error)) << error.place << " " << error.problem;
    ASSERT_EQ(1u, book.dataSets.size());
    const standin::DataSet& data = book.dataSets[0];
    ASSERT_EQ(5u, data.accounts.size());
    const standin::Account& cash = data.accounts[0];
    EXPECT_EQ(11100000, cash.code);
    EXPECT_EQ(125000, cash.excluded.debit[0]);
    EXPECT_EQ(0, cash.excluded.credit[0]);
    EXPECT_EQ(1000000, cash.excluded.debit[1]);
    EXPECT_EQ(-1, cash.excluded.debit[2]);
    EXPECT_EQ(500000, cash.excluded.credit[1]);
    EXPECT_EQ(70000, cash.excluded.debit[standin::kClosingSlot]);
    EXPECT_EQ(2500, cash.excluded.credit[standin::kInterimSlot]);
    // The tax-inclusive object replaces only the keys it names.
    EXPECT_EQ(1100000, cash.included.debit[1]);
    EXPECT_EQ(0, cash.included.debit[2]);
    EXPECT_EQ(500000, cash.included.credit[1]);
    EXPECT_EQ(125000, cash.included.debit[0]);
    // The main account of sub-accounts carries their sum; sub-accounts follow it.
    const standin::Account& bank = data.accounts[1];
    EXPECT_EQ(11300000, bank.code);
    EXPECT_FALSE(bank.isSub);
    EXPECT_EQ(5000000, bank.excluded.debit[0]);
    EXPECT_EQ(100000, bank.excluded.credit[1]);
    EXPECT_EQ(11300002, data.accounts[3].code);
    EXPECT_TRUE(data.accounts[3].isSub);
    EXPECT_EQ(1, data.accounts[3].hideFlag2);
    EXPECT_EQ(0x80881000u, data.accounts[3].kind);
    // A credit-side opening lands in the credit slot.
    EXPECT_EQ(400000, data.accounts[4].excluded.credit[0]);
    EXPECT_EQ(0, data.accounts[4].excluded.debit[0]);
}

TEST(StandinBookTest, IdentifiersAreStableAndDistinct) {
    standin::Book first, second;
    standin::BookError error;
    ASSERT_TRUE(standin::ParseBook(kGoodBook, first, error));
    ASSERT_TRUE(standin::ParseBook(kGoodBook, second, error));
    EXPECT_EQ(first.dataSets[0].accounts[0].id, second.dataSets[0].accounts[0].id);
    EXPECT_EQ(standin::AccountIdOf(11100000), first.dataSets[0].accounts[0].id);
    EXPECT_NE(first.dataSets[0].accounts[0].id, first.dataSets[0].accounts[1].id);
    EXPECT_NE(standin::AccountIdOf(11100000), standin::AccountIdOf(11100001));
}

struct BadBook {
    std::string text;
    std::string place;
};

TEST(StandinBookTest, BadBooksNameThePlaceOfTheProblem) {
    const std::string name87(87, 'A');
    const BadBook cases[] = {
        {"", "1 行"},
        {"{ \"user\": ", "1 行"},
        {"[1, 2]", "/"},
        {"{ \"user\": 1e99999 }", "-"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1] }, "dataSets": [] })", "/user/selectedNo"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [] })", "/dataSets"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [], "extra": 1 })",
         "/extra"},
        {BookWith(R"({ "number": 1110, "name": "a", "kind": "12345678", "side": 1 })"),
         "/dataSets/0/accounts/0/kind"},
        {BookWith(R"({ "number": 1110, "name": "a", "kind": "80888000", "side": 1 })"),
         "/dataSets/0/accounts/0/kind"},
        {BookWith(R"({ "number": 10000, "name": "a", "kind": "80881000", "side": 1 })"),
         "/dataSets/0/accounts/0/number"},
        {BookWith(R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 3 })"),
         "/dataSets/0/accounts/0/side"},
        {BookWith(R"({ "number": 1110, "name": ")" + name87 +
                  R"(B", "kind": "80881000", "side": 1 })"),
         "/dataSets/0/accounts/0/name"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "debit": [1.5] })"),
         "/dataSets/0/accounts/0/debit/0"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "debit": ["1.23456"] })"),
         "/dataSets/0/accounts/0/debit/0"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "debit": ["1e5"] })"),
         "/dataSets/0/accounts/0/debit/0"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "credit": [0,0,0,0,0,0,0,0,0,0,0,0,0] })"),
         "/dataSets/0/accounts/0/credit"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "opening": 1000000000000 })"),
         "/dataSets/0/accounts/0/opening"},
        {BookWith(R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "opening": 1,
                       "subAccounts": [ { "sub": 1, "name": "s" } ] })"),
         "/dataSets/0/accounts/0/subAccounts"},
        {BookWith(R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1 },
                     { "number": 1110, "name": "b", "kind": "80881000", "side": 1 })"),
         "/dataSets/0/accounts/1"},
        {BookWith(R"({ "number": 1110, "name": "a\u0000b", "kind": "80881000", "side": 1 })"),
         "/dataSets/0/accounts/0/name"},
        {BookWith(
             R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 1, "id": "00ff" })"),
         "/dataSets/0/accounts/0/id"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [ { "dataId": "D",
             "dataNo": 1, "companyName": "C", "periodStart": 20240401, "periodEnd": 20250401,
             "accounts": [] } ] })",
         "/dataSets/0/periodEnd"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [ { "dataId": "D",
             "dataNo": 1, "companyName": "C", "periodStart": 20240230, "periodEnd": 20250131,
             "accounts": [] } ] })",
         "/dataSets/0/periodStart"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [ { "dataId": "D",
             "dataNo": 1, "companyName": "C", "periodStart": 20240401, "periodEnd": 20250331,
             "startUseMonth": 13, "accounts": [] } ] })",
         "/dataSets/0/startUseMonth"},
        {u8R"({ "user": { "id": "u", "selectedNo": [1, 1] }, "dataSets": [ { "dataId": "DDDDDDDDDDDDDDDD",
             "dataNo": 1, "companyName": "C", "periodStart": 20240401, "periodEnd": 20250331,
             "accounts": [] } ] })",
         "/dataSets/0/dataId"},
    };
    for (const BadBook& bad : cases) {
        standin::Book book;
        standin::BookError error;
        EXPECT_FALSE(standin::ParseBook(bad.text, book, error)) << bad.text;
        EXPECT_EQ(0u, error.place.find(bad.place))
            << "place " << error.place << ", expected " << bad.place << " for " << bad.text;
        EXPECT_FALSE(error.problem.empty()) << bad.text;
    }
}

TEST(StandinBookTest, NameOf87BytesFitsAndTotalsThatOverflowAreRefused) {
    standin::Book book;
    standin::BookError error;
    EXPECT_TRUE(
        standin::ParseBook(BookWith(R"({ "number": 1110, "name": ")" + std::string(87, 'A') +
                                    R"(", "kind": "80881000", "side": 1 })"),
                           book, error))
        << error.place << " " << error.problem;
    std::string many;
    for (int n = 1; n <= 1000; ++n)
        many += std::string(n > 1 ? "," : "") + R"({ "number": )" + std::to_string(n) +
                R"(, "name": "a", "kind": "80881000", "side": 1, "opening": 999999999999 })";
    standin::Book big;
    EXPECT_FALSE(standin::ParseBook(BookWith(many), big, error));
    EXPECT_EQ("/dataSets/0/accounts", error.place) << error.problem;
}

// Files of one test in the test's temporary folder.
class StandinFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { standin::ClearShownMessages(); }
    void TearDown() override {
        standin::ReloadConfig("");
        standin::ClearShownMessages();
    }
    // Files go to a folder of this process: test processes run in parallel.
    static std::string Write(const std::string& name, const std::string& text) {
        const std::string path = testsupport::ProcessFolder() + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Initiate's result, with the one message it showed in shown.
    static long Initiate(std::string& shown) {
        const long result = ClAccConnect::Inst()->Initiate();
        const auto& messages = standin::ShownMessages();
        shown = messages.empty() ? std::string() : messages.back().text;
        return result;
    }
};

TEST_F(StandinFilesTest, MissingBookFailsInitiateWithItsPath) {
    const std::string config = Write("standin_missing.json", R"({ "book": "no_such_book.json" })");
    EXPECT_FALSE(standin::ReloadConfig(config));
    std::string shown;
    EXPECT_NE(0, Initiate(shown));
    EXPECT_NE(std::string::npos, shown.find("no_such_book.json")) << shown;
    EXPECT_NE(std::string::npos, shown.find("ファイルがありません")) << shown;
    EXPECT_EQ(0u, shown.find("ホストの帳簿ファイルを読めません。")) << shown;
}

TEST_F(StandinFilesTest, MalformedBookNamesFilePlaceAndProblem) {
    Write("standin_bad_book.json",
          BookWith(R"({ "number": 1110, "name": "a", "kind": "80881000", "side": 7 })"));
    const std::string config = Write("standin_bad.json", R"({ "book": "standin_bad_book.json" })");
    EXPECT_FALSE(standin::ReloadConfig(config));
    std::string shown;
    EXPECT_EQ(-1, Initiate(shown));
    EXPECT_NE(std::string::npos, shown.find("standin_bad_book.json")) << shown;
    EXPECT_NE(std::string::npos, shown.find("/dataSets/0/accounts/0/side")) << shown;
    EXPECT_NE(std::string::npos, shown.find("\n\n")) << shown;
    // A broken book serves no data.
    StDATAINFO info;
    EXPECT_NE(
        0, static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo(&info));
}

TEST_F(StandinFilesTest, MalformedConfigurationIsReportedAndUnknownKeysRefused) {
    std::string shown;
    EXPECT_FALSE(standin::ReloadConfig(Write("standin_syntax.json", "{ \"book\": ,}")));
    EXPECT_EQ(-1, Initiate(shown));
    EXPECT_EQ(0u, shown.find("ホストの設定ファイルを読めません。")) << shown;
    EXPECT_NE(std::string::npos, shown.find("1 行")) << shown;

    EXPECT_FALSE(standin::ReloadConfig(Write("standin_key.json", R"({ "bok": "trading.json" })")));
    EXPECT_EQ(-1, Initiate(shown));
    EXPECT_NE(std::string::npos, shown.find("/bok")) << shown;

    EXPECT_FALSE(
        standin::ReloadConfig(Write("standin_fault.json", R"({ "faults": { "taxGet": "x" } })")));
    EXPECT_EQ(-1, Initiate(shown));
    EXPECT_NE(std::string::npos, shown.find("/faults/taxGet")) << shown;
}

TEST_F(StandinFilesTest, ConfiguredInitiateResultStillApplies) {
    Write("standin_ok_book.json", kGoodBook);
    ASSERT_TRUE(standin::ReloadConfig(
        Write("standin_init.json", R"({ "book": "standin_ok_book.json", "initiate": 3 })")));
    std::string shown;
    EXPECT_EQ(3, Initiate(shown));
    EXPECT_TRUE(shown.empty()) << shown;
}

TEST_F(StandinFilesTest, FailCallRefusesExactlyTheNthCallOfOneMethodAndTheLogListsEveryCall) {
    Write("standin_ok_book.json", kGoodBook);
    const std::string log = testsupport::ProcessFolder() + "standin_calls.log";
    std::remove(log.c_str());
    ASSERT_TRUE(standin::ReloadConfig(Write("standin_failcall.json",
                                            R"({ "book": "standin_ok_book.json", "faults": {
               "failCall": { "name": "ClAccConnect::ExpSysLink", "nth": 2, "code": 7 },
               "callLog": "standin_calls.log" } })")));
    ClAccConnect* connect = ClAccConnect::Inst();
    EXPECT_EQ(0, connect->ExpSysLink());
    EXPECT_EQ(7, connect->ExpSysLink());
    EXPECT_EQ(0, connect->ExpSysLink());
    // A method that hands out an object hands out none.
    ASSERT_TRUE(standin::ReloadConfig(Write("standin_failcall.json",
                                            R"({ "book": "standin_ok_book.json", "faults": {
               "failCall": { "name": "ClDataMgr::GetSetMgr", "nth": 1 },
               "callLog": "standin_calls.log" } })")));
    EXPECT_EQ(nullptr, ClDataMgr::Inst()->GetSetMgr());
    EXPECT_NE(nullptr, ClDataMgr::Inst()->GetSetMgr());

    // The calls of both configurations, each counted from 1 again after the reload.
    EXPECT_EQ((std::vector<std::string>{"ClAccConnect::Inst 1", "ClAccConnect::ExpSysLink 1",
                                        "ClAccConnect::ExpSysLink 2", "ClAccConnect::ExpSysLink 3",
                                        "ClDataMgr::Inst 1", "ClDataMgr::GetSetMgr 1",
                                        "ClDataMgr::Inst 2", "ClDataMgr::GetSetMgr 2"}),
              testsupport::CallLog(log));
}

TEST_F(StandinFilesTest, AFailCallThatCannotFailIsRefused) {
    std::string shown;
    for (const char* faults :
         {R"({ "name": "ClSetData::Walk", "nth": 1 })", R"({ "name": "ExpSysLink", "nth": 1 })",
          R"({ "name": "ClAccConnect::ExpSysLink", "nth": 0 })",
          R"({ "name": "ClAccConnect::ExpSysLink", "nth": 1, "code": 0 })", R"({ "nth": 1 })",
          R"({ "name": "ClAccConnect::ExpSysLink", "nth": 1, "when": 2 })"}) {
        EXPECT_FALSE(standin::ReloadConfig(Write(
            "standin_badcall.json", std::string(R"({ "faults": { "failCall": )") + faults + "} }")))
            << faults;
        EXPECT_EQ(-1, Initiate(shown));
        EXPECT_NE(std::string::npos, shown.find("/faults/failCall")) << faults << "\n" << shown;
    }
}

TEST_F(StandinFilesTest, BookInAFolderWithAJapaneseName) {
    const std::string config = Write("standin_folder.json", u8R"({ "book": "帳簿表/book.json" })");
    const std::string folder = config.substr(0, config.rfind('/') + 1) + u8"帳簿表";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/book.json", std::ios::binary) << kGoodBook;
    EXPECT_TRUE(standin::ReloadConfig(config)) << standin::LoadProblem();
    ASSERT_NE(nullptr, standin::SelectedDataSet());
    EXPECT_EQ("T2", standin::SelectedDataSet()->dataId);
}

// Every delivered book loads, and in both views its assets equal liabilities plus capital.
TEST_F(StandinFilesTest, DeliveredSampleBooksBalance) {
    for (const char* name : {"trading", "older_form", "calendar", "interim", "start_use7",
                             "past_results", "several_years"}) {
        const std::string config =
            Write(std::string("standin_sample_") + name + ".json",
                  std::string(R"({ "book": ")") + OVW_BIN_DIR + "/" + name + R"(.json" })");
        ASSERT_TRUE(standin::ReloadConfig(config)) << name << ": " << standin::LoadProblem();
        for (const standin::DataSet& data : standin::GetBook().dataSets) {
            for (bool included : {false, true}) {
                int64_t totals[3] = {};
                for (const standin::TotalRow& row : data.totals) {
                    const int which = row.kind == 0x80800000   ? 0
                                      : row.kind == 0x80400000 ? 1
                                      : row.kind == 0x80200000 ? 2
                                                               : -1;
                    if (which < 0)
                        continue;
                    const standin::Figures& f = included ? row.included : row.excluded;
                    for (int s = 0; s < standin::kSlots; ++s)
                        totals[which] += (f.debit[s] - f.credit[s]) * (row.side == 1 ? 1 : -1);
                }
                EXPECT_EQ(totals[0], totals[1] + totals[2])
                    << name << " " << data.dataId << (included ? " included" : " excluded");
                EXPECT_GT(totals[0], 0) << name;
            }
        }
    }
    ASSERT_TRUE(standin::ReloadConfig(std::string(OVW_BIN_DIR) + "/StandinHost.json"))
        << standin::LoadProblem();
    const standin::DataSet* trading = standin::SelectedDataSet();
    ASSERT_NE(nullptr, trading);
    EXPECT_GE(trading->periodEnd, 20180401);
    EXPECT_GE(trading->accounts.size(), 80u);
    int hidden = 0, subs = 0;
    for (const standin::Account& account : trading->accounts) {
        hidden += account.hideFlag1 != 0 || account.hideFlag2 != 0;
        subs += account.isSub;
    }
    EXPECT_GE(hidden, 3);
    EXPECT_GE(subs, 10);
}

} // namespace
