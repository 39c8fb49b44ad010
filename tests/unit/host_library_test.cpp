// The host library adapter over the stand-in host: what each method of the table asks of the
// host's libraries, and that every cursor it opens is released again.
#include "platform/host_library.h"

#include "host/bookhub.h"
#include "host/bookkern.h"
#include "host/hostconn.h"
#include "standin/system.h"
#include "support/served_book.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kBook[] = u8R"({
  "user": { "id": "adapter", "selectedNo": [4, 2] },
  "dataSets": [
    { "dataId": "AD1", "dataNo": 1, "companyName": "一", "periodStart": 20230401,
      "periodEnd": 20240331, "accounts": [] },
    { "dataId": "AD2", "dataNo": 2, "companyName": "二", "periodStart": 20240401,
      "periodEnd": 20250331, "taxIncludedPreset": 1, "accounts": [
      { "number": 1110, "name": "現金", "kind": "80881000", "side": 1, "opening": 3 },
      { "number": 1120, "name": "当座預金", "kind": "80881000", "side": 1 } ] } ]
})";

class HostLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::ServeBook("host_library", kBook,
                                           R"(, "outputFolder": "", "settingsFolder": ".")"));
        standin::ClearShownMessages();
    }
    void TearDown() override { standin::ClearShownMessages(); }

    // The next cursor number the stand-in hands out for the account master; the stand-in
    // numbers all cursors in one sequence.
    static long NextCursor() {
        auto* accounts =
            static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kAccounts, 1));
        long cursor = 0;
        accounts->GetCursor(&cursor);
        accounts->ReleaseCursor(cursor);
        return cursor;
    }

    testsupport::ServedBookScope scope_;
    std::unique_ptr<platform::Host> host_ = platform::OpenHostLibrary();
};

} // namespace

TEST_F(HostLibraryTest, ConnectionTakesTheTitleAndTheOwnerOfTheHostsDialogs) {
    EXPECT_EQ(0, host_->Connect("事業概況書", ClSysEnvMgr::APP_OAK));
    EXPECT_STREQ("事業概況書", ClAccConnect::Inst()->appTitle);
    // A title longer than the field is cut within it.
    const std::string longTitle(300, 'T');
    host_->Connect(longTitle.c_str(), ClSysEnvMgr::APP_IVY);
    EXPECT_EQ(std::string(sizeof ClAccConnect::Inst()->appTitle - 1, 'T'),
              ClAccConnect::Inst()->appTitle);
    host_->Connect("事業概況書", ClSysEnvMgr::APP_IVY);

    const auto owner = reinterpret_cast<HostWnd>(0x2345);
    host_->SetOwnerWindow(owner);
    EXPECT_EQ(owner, ClAccConnect::Inst()->ownerWnd);
    EXPECT_EQ(0, host_->LinkPermission());

    host_->ShowMessage(owner, "ES_APRPACKAGENAMEを確認", "事業概況書", 0x30);
    ASSERT_EQ(1u, standin::ShownMessages().size());
    EXPECT_EQ(owner, standin::ShownMessages()[0].owner);
    EXPECT_EQ("Quorin申告を確認", standin::ShownMessages()[0].text);
    EXPECT_EQ(0x30u, standin::ShownMessages()[0].style);
    host_->SetOwnerWindow(nullptr);
}

TEST_F(HostLibraryTest, SelectedDataUserAndDataSets) {
    StDATAINFO selected{};
    ASSERT_TRUE(host_->SelectedData(selected));
    EXPECT_STREQ("AD2", selected.dataId());

    platform::HostUser user;
    ASSERT_TRUE(host_->CurrentUser(user));
    EXPECT_EQ("adapter", user.id);
    EXPECT_EQ(4, user.first);
    EXPECT_EQ(2, user.dataNo);

    std::string walked;
    ASSERT_TRUE(host_->ForEachDataSet([&](const StDATAINFO& record) {
        walked += record.dataId();
        return true;
    }));
    EXPECT_EQ("AD1AD2", walked);
    walked.clear();
    ASSERT_TRUE(host_->ForEachDataSet([&](const StDATAINFO& record) {
        walked += record.dataId();
        return false;
    }));
    EXPECT_EQ("AD1", walked) << "the walk stops when asked";
}

TEST_F(HostLibraryTest, EveryCursorOpenedIsReleased) {
    const long first = NextCursor();
    host_->ForEachDataSet([](const StDATAINFO&) { return false; });
    host_->ForEachDataSet([](const StDATAINFO&) { return true; });
    {
        auto walk = host_->OpenAccountMaster();
        ASSERT_NE(nullptr, walk);
        StKAMOKUINFO account{};
        EXPECT_EQ(0, walk->Walk(&account));
        EXPECT_EQ(11100000, account.code());
    }
    const long last = NextCursor();
    ASSERT_EQ(first + 4, last) << "three walks between the two probes";
    auto* accounts =
        static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kAccounts, 1));
    for (long cursor = first + 1; cursor < last; ++cursor)
        EXPECT_NE(0, accounts->ReleaseCursor(cursor)) << "cursor " << cursor << " left open";
}

TEST_F(HostLibraryTest, TotalsTaxPeriodAndFoldersOfTheSelectedData) {
    auto totals = host_->OpenAccountTotals("AD2");
    ASSERT_NE(nullptr, totals);
    StFINDINFO all{};
    all.set_field(StFINDINFO::kAccountingMonth);
    all.set_op(StFINDINFO::kAll);
    ASSERT_EQ(0, totals->MoveReady(&all));
    long count = 0;
    ASSERT_EQ(0, totals->GetSumCount(&count));
    ASSERT_EQ(0, totals->SetMovePos(0));
    StKAMOKUSUMINFO row{};
    ASSERT_EQ(0, totals->MoveNext(&row));
    EXPECT_EQ(3 * 10000, row.moveA(false, 0)) << "the opening of the first account";
    EXPECT_EQ(0, totals->MoveFinish());

    StSHOHIZEIINFO tax{};
    ASSERT_EQ(0, host_->TaxSettings("AD2", &tax));
    EXPECT_EQ(1, tax.taxIncludedPreset());

    std::int16_t month = -1;
    EXPECT_EQ(0, host_->AccountingMonth(20240421, 20250420, 20240421, &month));
    EXPECT_EQ(5, month);
    month = -1;
    EXPECT_NE(0, host_->AccountingMonth(0, 0, 0, &month));
    EXPECT_EQ(-1, month);

    EXPECT_STREQ("", host_->FolderPath(platform::HostFolder::kDefaultOutput));
    const std::string settings = host_->FolderPath(platform::HostFolder::kSettings);
    EXPECT_EQ(testsupport::ProcessFolder(), settings);
    host_->ReleaseFolders();
}
