#include "app/company_data.h"

#include "app/overview_app.h"
#include "host/bookkern.h"
#include "standin/system.h"
#include "support/fake_host.h"
#include "support/memory_filesystem.h"
#include "support/recording_desktop.h"
#include "support/served_book.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// One data set of the host: only what the selection reads.
struct DataSet {
    const char* dataId;
    int dataNo;
    const char* companyName;
    int periodStart;
    int periodEnd;
    int interimClosing;
    int startUseMonth;
};

// An in-memory host holds the given data sets, the user having selected selectedNo.
class SelectCompanyDataTest : public ::testing::Test {
  protected:
    void Hold(int selectedNo, std::initializer_list<DataSet> sets) {
        host.user = platform::HostUser{"tanaka", 7, selectedNo};
        host.dataSets.clear();
        for (const DataSet& set : sets) {
            StDATAINFO data = testsupport::FakeHost::DataSet(
                set.dataId, set.dataNo, set.companyName, set.periodStart, set.periodEnd);
            data.set_interimClosing(set.interimClosing);
            data.set_startUseMonth(static_cast<std::int16_t>(set.startUseMonth));
            data.set_equityLabel(1);
            host.dataSets.push_back(data);
        }
    }

    testsupport::FakeHost host;
    StDATAINFO record{};
};

const char kCompany[] = "株式会社みなと商事";

std::string DescribeTerms(const AggregationRequest& request) {
    std::string text;
    for (const MonthTerm& term : request.terms) {
        const MonthTerm zero{};
        if (std::memcmp(term.bytes, zero.bytes, sizeof zero.bytes) == 0) {
            text += "|";
            continue;
        }
        if (term.field() != StFINDINFO::kAccountingMonth || term.valueType() != StFINDINFO::kInt16)
            text += "field " + std::to_string(term.field()) + " type " +
                    std::to_string(term.valueType()) + " ";
        switch (term.op()) {
        case StFINDINFO::kAtLeast:
            text += ">=";
            break;
        case StFINDINFO::kAtMost:
            text += "<=";
            break;
        case StFINDINFO::kEqual:
            text += "=";
            break;
        default:
            text += "op" + std::to_string(term.op());
        }
        text += std::to_string(term.value16());
        switch (term.link()) {
        case StFINDINFO::kAnd:
            text += " and ";
            break;
        case StFINDINFO::kOr:
            text += " or ";
            break;
        case StFINDINFO::kNone:
            text += "|";
            break;
        default:
            text += " link" + std::to_string(term.link()) + " ";
        }
    }
    return text;
}

std::string TermsFor(std::int32_t start, std::int32_t end, std::int32_t interim, std::int16_t from,
                     std::int16_t to) {
    StDATAINFO record{};
    record.set_periodStart(start);
    record.set_periodEnd(end);
    record.set_interimClosing(interim);
    AggregationRequest request;
    for (MonthTerm& term : request.terms)
        std::memset(term.bytes, 0x5A, sizeof term.bytes);
    testsupport::FakeHost host;
    EXPECT_EQ("ok", platform::LogLine(BuildAggregationRequest(host, request, record, from, to)));
    return DescribeTerms(request);
}

} // namespace

TEST_F(SelectCompanyDataTest, TakesTheSelectedOfSeveralDataSetsOfOneCompany) {
    Hold(2, {{"MNT2019", 1, kCompany, 20190401, 20200331, 0, 4},
             {"MNT2020", 2, kCompany, 20200401, 20210331, 1, 6},
             {"MNT2021", 3, kCompany, 20210401, 20220331, 0, 1}});
    ASSERT_OK(SelectCompanyData(host, record));
    EXPECT_STREQ("MNT2020", record.dataId());
    EXPECT_EQ(2, record.dataNo());
    EXPECT_STREQ(kCompany, record.companyName());
    EXPECT_EQ(20200401, record.periodStart());
    EXPECT_EQ(20210331, record.periodEnd());
    EXPECT_EQ(1, record.interimClosing());
    EXPECT_EQ(6, record.startUseMonth());
    EXPECT_EQ(1, record.equityLabel());
}

TEST_F(SelectCompanyDataTest, LaterCallsFollowTheSelection) {
    Hold(3, {{"A", 1, "A", 20190401, 20200331, 0, 1}, {"B", 3, "B", 20200401, 20210331, 0, 1}});
    ASSERT_OK(SelectCompanyData(host, record));
    EXPECT_STREQ("B", record.dataId());
    host.user->dataNo = 1;
    ASSERT_OK(SelectCompanyData(host, record));
    EXPECT_STREQ("A", record.dataId());
    // Repeated walks find the same record.
    for (int i = 0; i < 3; ++i) {
        ASSERT_OK(SelectCompanyData(host, record)) << "call " << i;
        EXPECT_EQ(1, record.dataNo());
    }
}

TEST_F(SelectCompanyDataTest, NoMatchLeavesAClearedRecord) {
    Hold(9, {{"A", 1, "A", 20190401, 20200331, 0, 1}, {"B", 2, "B", 20200401, 20210331, 0, 1}});
    const StDATAINFO zero{};
    std::memset(record.bytes, 0xA5, sizeof record.bytes);
    EXPECT_EQ("no-data step=selected-data value=9", LogLine(SelectCompanyData(host, record)));
    EXPECT_EQ(0, std::memcmp(zero.bytes, record.bytes, sizeof zero.bytes))
        << "dataNo " << record.dataNo() << ", periodEnd " << record.periodEnd();

    // A host without data sets or without a user answers nothing either.
    host.user->dataNo = 1;
    host.hasDataSets = false;
    std::memset(record.bytes, 0xA5, sizeof record.bytes);
    EXPECT_EQ("host-refused step=ClDataMgr::GetSetObject code=0",
              LogLine(SelectCompanyData(host, record)));
    EXPECT_EQ(0, std::memcmp(zero.bytes, record.bytes, sizeof zero.bytes));
    host.hasDataSets = true;
    host.user.reset();
    std::memset(record.bytes, 0xA5, sizeof record.bytes);
    EXPECT_EQ("host-refused step=ClDataMgr::GetSysUserObject code=0",
              LogLine(SelectCompanyData(host, record)));
    EXPECT_EQ(0, std::memcmp(zero.bytes, record.bytes, sizeof zero.bytes));
}

TEST_F(SelectCompanyDataTest, EndsItsWalkWhetherFoundOrNot) {
    for (const int selectedNo : {1, 2, 9}) {
        Hold(selectedNo,
             {{"A", 1, "A", 20190401, 20200331, 0, 1}, {"B", 2, "B", 20200401, 20210331, 0, 1}});
        const int walks = host.dataSetWalks;
        static_cast<void>(SelectCompanyData(host, record));
        EXPECT_EQ(walks + 1, host.dataSetWalks) << "selected number " << selectedNo;
        EXPECT_EQ(host.dataSetWalks, host.dataSetWalksEnded) << "selected number " << selectedNo;
    }
}

TEST(BuildAggregationRequest, WholeYearAddsTheYearEndClosing) {
    EXPECT_EQ(">=1 and <=12 or =18||", TermsFor(20200401, 20210331, 0, 4, 3));
    // The interim closing joins only when the months end with the sixth.
    EXPECT_EQ(">=1 and <=12 or =18||", TermsFor(20200401, 20210331, 1, 4, 3));
}

TEST(BuildAggregationRequest, FirstHalfWithInterimClosing) {
    EXPECT_EQ(">=1 and <=6 or =15||", TermsFor(20200401, 20210331, 1, 4, 9));
    EXPECT_EQ(">=1 and <=6|||", TermsFor(20200401, 20210331, 0, 4, 9));
    EXPECT_EQ(">=1 and <=9|||", TermsFor(20200401, 20210331, 1, 4, 12));
}

TEST(BuildAggregationRequest, SixMonthPeriodWithInterimClosingTakesAllFourTerms) {
    EXPECT_EQ(">=1 and <=6 or =15 or =18|", TermsFor(20200401, 20200930, 1, 4, 9));
}

TEST(BuildAggregationRequest, ShortFirstPeriod) {
    EXPECT_EQ(">=1 and <=9 or =18||", TermsFor(20200701, 20210331, 0, 7, 3));
    EXPECT_EQ(">=4 and <=6|||", TermsFor(20200701, 20210331, 0, 10, 12));
}

TEST(CompanyHeaders, FormGenerationChangesOn20180401) {
    StDATAINFO record{};
    record.set_periodEnd(20180331);
    EXPECT_EQ(FormGeneration::k16, FormGenerationOf(record.periodEnd()));
    record.set_periodEnd(20180401);
    EXPECT_EQ(FormGeneration::k30, FormGenerationOf(record.periodEnd()));
}

TEST(CompanyHeaders, PeriodText) {
    StDATAINFO record{};
    record.set_periodStart(20200401);
    record.set_periodEnd(20210331);
    EXPECT_EQ(" 2020/04/01～2021/03/31", PeriodHeaderText(record));
    EXPECT_EQ(" 0000/00/00～0000/00/00", PeriodHeaderText(StDATAINFO{}));
}

TEST(CompanyHeaders, CompanyTextIsHeldToFiftyBytesWithoutSplittingACharacter) {
    StDATAINFO record{};
    std::strcpy(record.companyNameField(), kCompany);
    EXPECT_EQ(std::string(" ") + kCompany, CompanyHeaderText(record));

    // 49 single-byte characters fit whole after the blank.
    const std::string ascii(49, 'K');
    std::memcpy(record.companyNameField(), ascii.c_str(), ascii.size() + 1);
    EXPECT_EQ(" " + ascii, CompanyHeaderText(record));

    // After the blank and 24 double-byte characters one byte is left: the 25th does not fit.
    std::string wide;
    for (int i = 0; i < 30; ++i)
        wide += "表";
    std::memcpy(record.companyNameField(), wide.c_str(), wide.size() + 1);
    const std::string text = CompanyHeaderText(record);
    EXPECT_EQ(" " + wide.substr(0, 48), text) << "size " << text.size();

    // A name that fills its whole field without a NUL.
    std::memset(record.companyNameField(), 'N', StDATAINFO::companyNameSize);
    EXPECT_EQ(" " + std::string(49, 'N'), CompanyHeaderText(record));
}

namespace {

const char kProgramFolder[] = "C:\\会計\\決算表\\";

// The run from start-up to the end of the company data selection, as the host starts it.
class RunSelectionTest : public ::testing::Test {
  protected:
    RunSelectionTest() {
        files.AddStandardMachine();
        files.AddFolder(kProgramFolder);
        files.SetProgramFolder(kProgramFolder);
        files.AddFile(std::string(kProgramFolder) + "QuorinDef.ini",
                      "[ProgramLevel]\r\nRV16_G=3\r\n");
    }

    ::testing::AssertionResult ServeSample(const std::string& name,
                                           const std::string& configKeys = "") {
        return testsupport::ServeBook(
            name, "", configKeys, std::string(OVW_SOURCE_DIR) + "/data/books/" + name + ".json");
    }

    // Serves a sample book whose host calls are logged, for SelectionAsked.
    ::testing::AssertionResult ServeLogged(const std::string& name) {
        std::remove(callLog.c_str());
        return ServeSample(name, R"(, "faults": {"callLog": ")" + callLog + "\"}");
    }

    // Whether the run asked the host which company data is selected.
    bool SelectionAsked() const {
        for (const std::string& line : testsupport::CallLog(callLog))
            if (line.rfind("ClSysUser::GetSelectedNo ", 0) == 0)
                return true;
        return false;
    }

    void Run() {
        ClOverviewApp app(kEditionIvy, testsupport::LibraryHost(), desktop, files, "65538,1025,2,");
        platform::RunApplication(app);
    }

    std::string PostedResult() const {
        for (const std::string& call : desktop.calls)
            if (call.rfind("post ", 0) == 0)
                return call;
        return "(nothing posted)";
    }

    const std::string callLog = testsupport::ProcessFolder() + "run_selection_calls.log";
    testsupport::ServedBookScope servedBook;
    testsupport::MemoryFileSystem files;
    testsupport::RecordingDesktop desktop;
};

} // namespace

TEST_F(RunSelectionTest, PastResultsDataIsRefusedWithResult1) {
    ASSERT_TRUE(ServeLogged("past_results"));
    Run();
    EXPECT_TRUE(SelectionAsked());
    EXPECT_EQ("post 0x10002 1025 2 1", PostedResult());
    ASSERT_EQ(1u, desktop.boxes.size());
    EXPECT_EQ(
        "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。",
        desktop.boxes[0].text);
    EXPECT_EQ("事業概況書", desktop.boxes[0].caption);
    EXPECT_EQ(0x30u, desktop.boxes[0].style);
    EXPECT_EQ(nullptr, desktop.boxes[0].owner);
    EXPECT_EQ("overview run: result 1: range-refused step=past-results-data value=99",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(RunSelectionTest, MissingSelectedDataStopsTheRunWithResult2) {
    ASSERT_TRUE(ServeSample("several_years", R"(, "faults": {"selectedDataNo": 99})"));
    Run();
    EXPECT_EQ("post 0x10002 1025 2 2", PostedResult());
    ASSERT_EQ(1u, desktop.boxes.size());
    EXPECT_EQ("選択されている会社データが見つかりません。\n\n"
              "会社データを選択し直してから、もう一度実行してください。",
              desktop.boxes[0].text);
    EXPECT_EQ("事業概況書", desktop.boxes[0].caption);
    EXPECT_EQ(0x30u, desktop.boxes[0].style);
    EXPECT_EQ("overview run: result 2: no-data step=selected-data value=99",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(RunSelectionTest, FailedEnvironmentCheckEndsBeforeTheSelectionWithResult2) {
    ASSERT_TRUE(ServeLogged("past_results"));
    files.AddFile(std::string(kProgramFolder) + "QuorinDef.ini", "[ProgramLevel]\r\nRV16_G=4\r\n");
    standin::ClearShownMessages();
    Run();
    EXPECT_EQ("post 0x10002 1025 2 2", PostedResult());
    EXPECT_TRUE(desktop.boxes.empty()) << "box: " << desktop.boxes.front().text;
    ASSERT_EQ(1u, standin::ShownMessages().size());
    EXPECT_EQ(reinterpret_cast<HostWnd>(0x10002), standin::ShownMessages()[0].owner);
    EXPECT_FALSE(SelectionAsked()) << "the run ended before the selection";
    standin::ClearShownMessages();
    EXPECT_EQ("overview run: result 2: range-refused step=definition-level value=4",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(RunSelectionTest, AProgramFolderThatCannotBeEnteredEndsAsAMissingDefinitionFile) {
    ASSERT_TRUE(ServeLogged("several_years"));
    files.SetProgramFolder("C:\\Gone");
    standin::ClearShownMessages();
    Run();
    EXPECT_EQ("post 0x10002 1025 2 2", PostedResult());
    EXPECT_TRUE(desktop.boxes.empty()) << "box: " << desktop.boxes.front().text;
    // The message of a definition file that is not there, through the host, over its window.
    ASSERT_EQ(1u, standin::ShownMessages().size());
    EXPECT_EQ(reinterpret_cast<HostWnd>(0x10002), standin::ShownMessages()[0].owner);
    EXPECT_EQ(0u, standin::ShownMessages()[0].text.find("動作環境が不正です。"))
        << standin::ShownMessages()[0].text;
    EXPECT_FALSE(SelectionAsked()) << "the run ended before the selection";
    standin::ClearShownMessages();
    EXPECT_EQ("overview run: result 2: io step=ChangeDirectory error=3 file=C:\\\\Gone\\\\",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(RunSelectionTest, HostRefusalsEndTheRunWithTheHostsCode) {
    // The connection refused: the run is not host-started yet, so nothing is posted.
    ASSERT_TRUE(ServeSample("several_years", R"(, "initiate": 5)"));
    Run();
    EXPECT_EQ("(nothing posted)", PostedResult());
    EXPECT_EQ("overview run: result 0: host-refused step=ClAccConnect::Initiate code=5",
              testsupport::RunEndLine(files.DebugLines()));

    // The link not permitted, and the link failing.
    for (const auto& [code, result] : {std::pair(1, 1), std::pair(7, 2)}) {
        files.ClearDebugLines();
        desktop.calls.clear();
        ASSERT_TRUE(ServeSample("several_years", ", \"expSysLink\": " + std::to_string(code)));
        Run();
        EXPECT_EQ("post 0x10002 1025 2 " + std::to_string(result), PostedResult());
        EXPECT_EQ("overview run: result " + std::to_string(result) +
                      ": host-refused step=ClAccConnect::ExpSysLink code=" + std::to_string(code),
                  testsupport::RunEndLine(files.DebugLines()));
    }
}
