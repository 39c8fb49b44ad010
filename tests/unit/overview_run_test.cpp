// The run from the condition sheet on, against the stand-in host's sample book: what the sheet
// is given, what the run does with each of its answers, the report, the final message and the
// result code.
#include "app/overview_app.h"
#include "report_test_support.h"
#include "settings/account_lookup.h"
#include "settings/settings_file.h"
#include "settings/statement_files.h"
#include "support/delivered.h"
#include "support/memory_filesystem.h"
#include "support/portable/heap_memory.h"
#include "support/portable/text_mapping.h"
#include "support/recording_desktop.h"
#include "support/served_book.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kProgramFolder[] = "C:\\Program\\";
const platform::WindowHandle kProgressWindow = reinterpret_cast<platform::WindowHandle>(0x5150);

// Answers the sheet as a user would: the statement lines and default mappings loaded as the
// sheet loads them, the whole period, and the output path of the test.
class ScriptedUi : public RunUi {
  public:
    SheetOutcome::End answer = SheetOutcome::End::kExecuted;
    std::string outputPath = "C:\\out\\report.xml";

    int sheets = 0;
    ConditionSheetRequest request;
    std::string outputPathGiven;
    std::int32_t periodStart = 0, periodEnd = 0;
    FormGeneration form = FormGeneration::k16;
    std::int16_t introMonth = -1, equityLabel = -1;
    std::string userId;
    int progressOpened = 0;
    platform::WindowHandle progressParent = nullptr;
    const platform::Host* hostGiven = nullptr;
    // The progress dialog cannot be made.
    bool progressFails = false;
    // Thrown out of the sheet when set.
    std::exception_ptr sheetThrows;

    SheetOutcome RunConditionSheet(platform::Host& host, const AccountCatalogue& accounts,
                                   const ConditionSheetRequest& shown,
                                   AggregationConditions& conditions) override {
        ++sheets;
        if (sheetThrows)
            std::rethrow_exception(sheetThrows);
        hostGiven = &host;
        request = shown;
        outputPathGiven = conditions.outputPath;
        periodStart = conditions.periodStart;
        periodEnd = conditions.periodEnd;
        form = conditions.form;
        introMonth = conditions.introMonth;
        equityLabel = conditions.equityLabel;
        userId = conditions.userId + "_" + std::to_string(conditions.selectionNo1) + "_" +
                 std::to_string(conditions.selectionNo2);
        EXPECT_TRUE(
            loadStatementLines(testsupport::ReadDelivered(FormItemFileName("Ivy", conditions.form)),
                               *conditions.statementLines));
        EXPECT_TRUE(loadDefaultMappings(
            testsupport::ReadDelivered(DefaultMappingFileName("Ivy", conditions.form)),
            conditions.defaultMappings, CatalogueAccountCodes(accounts)));
        resetMappingsToDefaults(conditions);
        conditions.firstMonth = 4;
        conditions.endMonth = 3;
        conditions.outputPath = outputPath;
        return SheetOutcome{answer, platform::Status()};
    }
    std::unique_ptr<ProgressWindow> OpenProgress(platform::WindowHandle hostWnd) override {
        ++progressOpened;
        progressParent = hostWnd;
        if (progressFails)
            return nullptr;
        return std::make_unique<testsupport::NullProgress>(kProgressWindow);
    }
};

class OverviewRunTest : public ::testing::Test {
  protected:
    OverviewRunTest() {
        files.AddStandardMachine();
        files.AddFolder("C:\\out");
        files.AddFile(std::string(kProgramFolder) + "QuorinDef.ini",
                      "[ProgramLevel]\r\nRV16_G=3\r\n");
    }

    void Run(const std::string& commandLine) {
        ClOverviewApp app(kEditionIvy, testsupport::LibraryHost(), desktop, files, commandLine,
                          &services);
        platform::RunApplication(app);
    }
    const testsupport::RecordingDesktop::Box* LastBox() const {
        return desktop.boxes.empty() ? nullptr : &desktop.boxes.back();
    }

    testsupport::MemoryFileSystem files;
    testsupport::RecordingDesktop desktop;
    ScriptedUi ui;
    platform::PortableTextMapping text;
    reporttest::FixedStrings strings;
    platform::HeapMemory memory;
    RunServices services{ui, text, strings, memory};
};

TEST_F(OverviewRunTest, TheSheetGetsTheHostDerivedConditionsAndTheHostsPath) {
    ui.answer = SheetOutcome::End::kCancelled;
    Run("65538,1025,7,C:\\出力\\a,b.xml");
    ASSERT_EQ(1, ui.sheets);
    EXPECT_EQ(&testsupport::LibraryHost(), ui.hostGiven);
    EXPECT_EQ("事業概況書 - 集計条件", ui.request.caption);
    EXPECT_EQ(reinterpret_cast<platform::WindowHandle>(0x10002), ui.request.owner);
    EXPECT_EQ(FormGeneration::k30, ui.request.form);
    EXPECT_EQ(" 株式会社みなと商事", ui.request.companyText);
    EXPECT_EQ(" 2024/04/01～2025/03/31", ui.request.periodText);
    // The data files of the edition and the company's form generation, beside the program.
    EXPECT_EQ(files.ProgramFolder() + DefaultMappingFileName("Ivy", FormGeneration::k30),
              ui.request.defaultMappingPath);
    EXPECT_EQ(files.ProgramFolder() + FormItemFileName("Ivy", FormGeneration::k30),
              ui.request.formItemPath);
    EXPECT_EQ("C:\\出力\\a,b.xml", ui.outputPathGiven);
    EXPECT_EQ(20240401, ui.periodStart);
    EXPECT_EQ(20250331, ui.periodEnd);
    EXPECT_EQ(FormGeneration::k30, ui.form);
    EXPECT_EQ(1, ui.introMonth);
    EXPECT_EQ(1, ui.equityLabel);
    EXPECT_EQ("yamada_1_2", ui.userId);
    // Cancelled: no progress, no report, result 1, and no failure.
    EXPECT_EQ(0, ui.progressOpened);
    EXPECT_FALSE(files.HasFile("C:\\出力\\a,b.xml"));
    EXPECT_EQ("overview run: result 1: ok", testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(OverviewRunTest, TheSelectedDataGivesTheSheetItsFormAndHeaderTexts) {
    testsupport::ServedBookScope servedBook;
    ui.answer = SheetOutcome::End::kCancelled;
    const std::string books = std::string(OVW_SOURCE_DIR) + "/data/books/";
    ASSERT_TRUE(testsupport::ServeBook("several_years", "", "", books + "several_years.json"));
    Run("65538,1025,2,");
    EXPECT_EQ(FormGeneration::k30, ui.request.form);
    EXPECT_EQ(" 株式会社みなと商事", ui.request.companyText);
    EXPECT_EQ(" 2023/04/01～2024/03/31", ui.request.periodText);
    EXPECT_EQ(20240331, ui.periodEnd);

    ASSERT_TRUE(testsupport::ServeBook("older_form", "", "", books + "older_form.json"));
    Run("65538,1025,2,");
    EXPECT_EQ(FormGeneration::k16, ui.request.form) << "period end " << ui.periodEnd;
    EXPECT_EQ(" 2017/04/01～2018/03/31", ui.request.periodText);
}

TEST_F(OverviewRunTest, WithoutAHostTheSheetHasNoOwnerAndNoPath) {
    ui.answer = SheetOutcome::End::kCancelled;
    Run("");
    EXPECT_EQ(nullptr, ui.request.owner);
    EXPECT_EQ("", ui.outputPathGiven);
}

TEST_F(OverviewRunTest, ExecutedRunWritesTheReportAndSaysSoOverTheProgressWindow) {
    Run("65538,1025,7,");
    EXPECT_EQ(reinterpret_cast<platform::WindowHandle>(0x10002), ui.progressParent);
    ASSERT_TRUE(files.HasFile("C:\\out\\report.xml"));
    const std::string report = files.FileBytes("C:\\out\\report.xml");
    EXPECT_NE(std::string::npos, report.find("<FUNCTIONID>7</FUNCTIONID>"));
    EXPECT_EQ("", reporttest::XmllintErrors(report));
    ASSERT_NE(nullptr, LastBox());
    EXPECT_EQ("事業概況情報の出力が終了しました。\n\nアプリケーションを終了します。",
              LastBox()->text);
    EXPECT_EQ(kProgressWindow, LastBox()->owner);
    EXPECT_EQ(platform::kMbOk | platform::kMbIconInformation, LastBox()->style);
    EXPECT_EQ("overview run: result 0: ok", testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(OverviewRunTest, ReportThatCannotBeWrittenEndsWithResult2) {
    ui.outputPath = "C:\\missing\\report.xml";
    Run("");
    EXPECT_EQ(nullptr, ui.progressParent);
    ASSERT_NE(nullptr, LastBox());
    EXPECT_EQ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。",
              LastBox()->text);
    EXPECT_EQ(platform::kMbOk | platform::kMbIconExclamation, LastBox()->style);
    // The folder is missing: the system's "path not found".
    EXPECT_EQ(0u, testsupport::RunEndLine(files.DebugLines())
                      .rfind("overview run: result 2: io step=create-temporary error=3 "
                             "file=C:\\\\missing\\\\~ovw4242_",
                             0))
        << files.DebugLines().back();
}

TEST_F(OverviewRunTest, FailedAggregationWritesNoReport) {
    testsupport::ServedBookScope servedBook;
    ASSERT_TRUE(testsupport::ServeBook(
        "overview_run_faults", "",
        R"(, "outputFolder": ".", "settingsFolder": ".", "faults": {"moveNextErrorRow": 3})",
        std::string(OVW_SOURCE_DIR) + "/data/books/trading.json"));
    Run("");
    EXPECT_FALSE(files.HasFile("C:\\out\\report.xml"));
    ASSERT_NE(nullptr, LastBox());
    EXPECT_EQ(
        "勘定科目の集計に失敗しました。\n\n会計データを確認してから、もう一度実行してください。",
        LastBox()->text);
    EXPECT_EQ(kProgressWindow, LastBox()->owner);
    EXPECT_EQ("overview run: result 2: host-refused step=ClRuleKamoku::MoveNext code=9",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(OverviewRunTest, AFullDiskWhileWritingEndsWithResult2AndTheSystemsError) {
    // Every write fails from the first on.
    files.FailNth(1, testsupport::MemoryFileSystem::kWrite, true);
    files.SetFaultError(testsupport::MemoryFileSystem::kErrorDiskFull);
    Run("");
    EXPECT_FALSE(files.HasFile("C:\\out\\report.xml"));
    ASSERT_NE(nullptr, LastBox());
    EXPECT_EQ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。",
              LastBox()->text);
    EXPECT_EQ(0u, testsupport::RunEndLine(files.DebugLines())
                      .rfind("overview run: result 2: io step=write-xml error=112 "
                             "file=C:\\\\out\\\\~ovw4242_",
                             0))
        << files.DebugLines().back();
}

TEST_F(OverviewRunTest, WindowsThatCannotBeMadeEndTheRunAsBeforeWithTheirCause) {
    // The sheet: the run ends as if it had been cancelled.
    ui.answer = SheetOutcome::End::kNotShown;
    Run("");
    EXPECT_EQ(nullptr, LastBox());
    EXPECT_EQ("overview run: result 1: out-of-memory step=condition-sheet",
              testsupport::RunEndLine(files.DebugLines()));

    // The progress dialog: the report is not written.
    files.ClearDebugLines();
    ui.answer = SheetOutcome::End::kExecuted;
    ui.progressFails = true;
    Run("");
    EXPECT_FALSE(files.HasFile("C:\\out\\report.xml"));
    ASSERT_NE(nullptr, LastBox());
    EXPECT_EQ("XMLファイルの出力に失敗しました。\n\nアプリケーションを終了します。",
              LastBox()->text);
    EXPECT_EQ("overview run: result 2: out-of-memory step=progress-dialog",
              testsupport::RunEndLine(files.DebugLines()));
}

TEST_F(OverviewRunTest, AnExceptionEndsTheRunAsAFailureAndTellsTheUserAndTheHost) {
    const std::pair<std::exception_ptr, std::string> thrown[] = {
        {std::make_exception_ptr(std::runtime_error("sheet broke")),
         "予期しないエラーが発生しました。\n\nアプリケーションを終了します。"},
        {std::make_exception_ptr(std::bad_alloc()), "ﾒﾓﾘが不足しています。"},
    };
    for (const auto& [exception, message] : thrown) {
        files.ClearDebugLines();
        desktop.calls.clear();
        ui.sheetThrows = exception;
        Run("65538,1025,7,");
        ASSERT_NE(nullptr, LastBox());
        EXPECT_EQ(message, LastBox()->text);
        EXPECT_EQ(nullptr, LastBox()->owner);
        EXPECT_EQ(2, testsupport::RunResult(files.DebugLines()));
        EXPECT_EQ(
            (std::vector<std::string>{"disable 0x10002", "foreground 0x10002", "enable 0x10002",
                                      "post 0x10002 1025 7 2", "enable 0x10002"}),
            desktop.CallsOn(reinterpret_cast<platform::WindowHandle>(0x10002)));
    }
}

TEST_F(OverviewRunTest, AFailureAfterTheReportIsWrittenKeepsItAndSaysItWasWritten) {
    // The closing message cannot be shown: the report stays, and the user still hears of it.
    desktop.throwAtBox = 1;
    Run("65538,1025,7,");
    EXPECT_TRUE(files.HasFile("C:\\out\\report.xml"));
    ASSERT_EQ(2u, desktop.boxes.size());
    EXPECT_EQ("事業概況情報の出力が終了しました。\n\nアプリケーションを終了します。",
              desktop.boxes[1].text);
    EXPECT_EQ(platform::kMbOk | platform::kMbIconInformation, desktop.boxes[1].style);
    EXPECT_EQ(0, testsupport::RunResult(files.DebugLines()))
        << testsupport::RunEndLine(files.DebugLines());
}

} // namespace
