// The host library adapter over the stand-in host: what each method of the table asks of the
// host's libraries, and that every cursor it opens is released again.
#include "platform/host_library.h"

#include "host/bookhub.h"
#include "host/bookkern.h"
#include "host/hostconn.h"
#include "standin/system.h"
#include "support/served_book.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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
    EXPECT_OK(host_->Connect("事業概況書", ClSysEnvMgr::APP_OAK));
    EXPECT_STREQ("事業概況書", ClAccConnect::Inst()->appTitle);
    // A title longer than the field is cut within it.
    const std::string longTitle(300, 'T');
    EXPECT_OK(host_->Connect(longTitle.c_str(), ClSysEnvMgr::APP_IVY));
    EXPECT_EQ(std::string(sizeof ClAccConnect::Inst()->appTitle - 1, 'T'),
              ClAccConnect::Inst()->appTitle);
    EXPECT_OK(host_->Connect("事業概況書", ClSysEnvMgr::APP_IVY));

    const auto owner = reinterpret_cast<HostWnd>(0x2345);
    EXPECT_OK(host_->SetOwnerWindow(owner));
    EXPECT_EQ(owner, ClAccConnect::Inst()->ownerWnd);
    EXPECT_OK(host_->LinkPermission());

    EXPECT_OK(host_->ShowMessage(owner, "ES_APRPACKAGENAMEを確認", "事業概況書", 0x30));
    ASSERT_EQ(1u, standin::ShownMessages().size());
    EXPECT_EQ(owner, standin::ShownMessages()[0].owner);
    EXPECT_EQ("Quorin申告を確認", standin::ShownMessages()[0].text);
    EXPECT_EQ(0x30u, standin::ShownMessages()[0].style);
    EXPECT_OK(host_->SetOwnerWindow(nullptr));
}

TEST_F(HostLibraryTest, SelectedDataUserAndDataSets) {
    StDATAINFO selected{};
    ASSERT_OK(host_->SelectedData(selected));
    EXPECT_STREQ("AD2", selected.dataId());

    platform::HostUser user;
    ASSERT_OK(host_->CurrentUser(user));
    EXPECT_EQ("adapter", user.id);
    EXPECT_EQ(4, user.first);
    EXPECT_EQ(2, user.dataNo);

    std::string walked;
    ASSERT_OK(host_->ForEachDataSet([&](const StDATAINFO& record) {
        walked += record.dataId();
        return true;
    }));
    EXPECT_EQ("AD1AD2", walked);
    walked.clear();
    ASSERT_OK(host_->ForEachDataSet([&](const StDATAINFO& record) {
        walked += record.dataId();
        return false;
    }));
    EXPECT_EQ("AD1", walked) << "the walk stops when asked";
}

TEST_F(HostLibraryTest, EveryCursorOpenedIsReleasedAlsoWhenTheVisitorThrows) {
    const long first = NextCursor();
    EXPECT_OK(host_->ForEachDataSet([](const StDATAINFO&) { return false; }));
    EXPECT_OK(host_->ForEachDataSet([](const StDATAINFO&) { return true; }));
    std::vector<std::int32_t> codes;
    EXPECT_OK(host_->ForEachAccount(nullptr, [&](const StKAMOKUINFO& account) {
        codes.push_back(account.code());
        return true;
    }));
    EXPECT_EQ((std::vector<std::int32_t>{11100000, 11200000}), codes);
    EXPECT_THROW(static_cast<void>(host_->ForEachAccount(
                     nullptr, [](const StKAMOKUINFO&) -> bool { throw std::bad_alloc(); })),
                 std::bad_alloc);
    const long last = NextCursor();
    ASSERT_EQ(first + 5, last) << "four walks between the two probes";
    auto* accounts =
        static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(ClDataMgr::kAccounts, 1));
    for (long cursor = first + 1; cursor < last; ++cursor)
        EXPECT_NE(0, accounts->ReleaseCursor(cursor)) << "cursor " << cursor << " left open";
}

TEST_F(HostLibraryTest, TotalsTaxPeriodAndFoldersOfTheSelectedData) {
    std::unique_ptr<platform::AccountTotalCursor> totals;
    ASSERT_OK(host_->OpenAccountTotals("AD2", totals));
    StFINDINFO all{};
    all.set_field(StFINDINFO::kAccountingMonth);
    all.set_op(StFINDINFO::kAll);
    ASSERT_OK(totals->MoveReady(&all));
    long count = 0;
    ASSERT_OK(totals->GetSumCount(count));
    ASSERT_OK(totals->SetMovePos(0));
    StKAMOKUSUMINFO row{};
    bool more = false;
    ASSERT_OK(totals->MoveNext(row, more));
    ASSERT_TRUE(more);
    EXPECT_EQ(3 * 10000, row.moveA(false, 0)) << "the opening of the first account";
    long rows = 1;
    while (totals->MoveNext(row, more).ok() && more)
        ++rows;
    EXPECT_FALSE(more) << "the host's end code ends the rows";
    EXPECT_EQ(count, rows);
    EXPECT_OK(totals->MoveFinish());

    StSHOHIZEIINFO tax{};
    ASSERT_OK(host_->TaxSettings("AD2", tax));
    EXPECT_EQ(1, tax.taxIncludedPreset());

    std::int16_t month = -1;
    EXPECT_OK(host_->AccountingMonth(20240421, 20250420, 20240421, month));
    EXPECT_EQ(5, month);
    month = -1;
    EXPECT_EQ("host-refused step=ClAccPeriod::SetPeriod code=1",
              platform::LogLine(host_->AccountingMonth(0, 0, 0, month)));
    EXPECT_EQ(-1, month);

    std::string folder = "before";
    EXPECT_OK(host_->FolderPath(platform::HostFolder::kDefaultOutput, folder));
    EXPECT_EQ("", folder);
    EXPECT_OK(host_->FolderPath(platform::HostFolder::kSettings, folder));
    EXPECT_EQ(testsupport::ProcessFolder(), folder);
    EXPECT_OK(host_->ReleaseFolders());
}

namespace {

// Every method of the table once, with the account-total walk through to its end: the first
// refusal, or success.
platform::Status UseEveryMethod(platform::Host& host) {
    std::vector<platform::Status> answers;
    answers.push_back(host.Connect("事業概況書", ClSysEnvMgr::APP_IVY));
    answers.push_back(host.SetOwnerWindow(nullptr));
    answers.push_back(host.LinkPermission());
    StDATAINFO selected{};
    answers.push_back(host.SelectedData(selected));
    answers.push_back(host.ForEachDataSet([](const StDATAINFO&) { return true; }));
    platform::HostUser user;
    answers.push_back(host.CurrentUser(user));
    answers.push_back(host.ForEachAccount(nullptr, [](const StKAMOKUINFO&) { return true; }));
    StFINDINFO cash{};
    cash.set_field(StFINDINFO::kKindCode);
    cash.set_op(StFINDINFO::kEqual);
    cash.set_valueType(StFINDINFO::kKindCodeValue);
    cash.set_kindValue(0x80881000);
    answers.push_back(host.ForEachAccount(&cash, [](const StKAMOKUINFO&) { return true; }));
    std::unique_ptr<platform::AccountTotalCursor> totals;
    answers.push_back(host.OpenAccountTotals("AD2", totals));
    if (totals != nullptr) {
        StFINDINFO all{};
        all.set_field(StFINDINFO::kAccountingMonth);
        all.set_op(StFINDINFO::kAll);
        answers.push_back(totals->MoveReady(&all));
        long count = 0;
        answers.push_back(totals->GetSumCount(count));
        answers.push_back(totals->SetMovePos(0));
        StKAMOKUSUMINFO row{};
        for (bool more = true; more;)
            answers.push_back(totals->MoveNext(row, more));
        answers.push_back(totals->MoveFinish());
    }
    StSHOHIZEIINFO tax{};
    answers.push_back(host.TaxSettings("AD2", tax));
    std::int16_t month = 0;
    answers.push_back(host.AccountingMonth(20240401, 20250331, 20240401, month));
    std::string folder;
    answers.push_back(host.FolderPath(platform::HostFolder::kDefaultOutput, folder));
    answers.push_back(host.ReleaseFolders());
    answers.push_back(host.ShowMessage(nullptr, "text", "caption", 0x30));
    answers.push_back(host.Disconnect());
    for (platform::Status& answer : answers)
        if (!answer.ok())
            return answer;
    return platform::Status();
}

} // namespace

TEST_F(HostLibraryTest, EveryHostAnswerIsLookedAtAndARefusalNamesItsMethod) {
    const std::string log = testsupport::ProcessFolder() + "host_library_calls.log";
    std::remove(log.c_str());
    ASSERT_TRUE(testsupport::ServeBook("host_library", kBook,
                                       ", \"faults\": {\"callLog\": \"" + log + "\"}"));
    ASSERT_OK(UseEveryMethod(*host_));
    // "Class::Method n": the methods the adapter called, each with its number of calls.
    std::map<std::string, long> called;
    for (const std::string& line : testsupport::CallLog(log)) {
        const std::size_t space = line.rfind(' ');
        ASSERT_NE(std::string::npos, space) << line;
        called[line.substr(0, space)] = std::stol(line.substr(space + 1));
    }
    ASSERT_GE(called.size(), 40u) << "the log holds every method the adapter calls";

    // Answers that mean nothing to the run, and methods without an answer.
    const std::set<std::string> unanswered = {"ClAccConnect::DispMsg", "ClAccConnect::Terminate",
                                              "ClAccConnect::Release", "ClFileMgr::Release"};
    // Methods that hand out an object answer with none: the refusal carries no code.
    const std::set<std::string> handingOut = {"ClAccConnect::Inst",          "ClDataMgr::Inst",
                                              "ClDataMgr::GetSetObject",     "ClDataMgr::GetSetMgr",
                                              "ClDataMgr::GetSysUserObject", "ClLinkMgr::Inst",
                                              "ClLinkMgr::GetOptLink",       "ClFileMgr::Inst",
                                              "ClFileMgr::GetAppFolderPath"};
    int tried = 0;
    for (const auto& [method, calls] : called) {
        for (const long nth : {1L, calls}) {
            ASSERT_TRUE(testsupport::ServeBook("host_library", kBook,
                                               ", \"faults\": {\"failCall\": {\"name\": \"" +
                                                   method + "\", \"nth\": " + std::to_string(nth) +
                                                   ", \"code\": 41}}"));
            const platform::Status answer = UseEveryMethod(*host_);
            ++tried;
            if (unanswered.count(method) != 0) {
                EXPECT_OK(answer) << method << " " << nth;
                continue;
            }
            const std::string code = handingOut.count(method) != 0 ? "0" : "41";
            EXPECT_EQ("host-refused step=" + method + " code=" + code, platform::LogLine(answer))
                << "call " << nth << " of " << method;
        }
    }
    std::printf("host library: %d refusals tried over %zu methods\n", tried, called.size());
}
