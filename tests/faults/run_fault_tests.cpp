// Whole runs of the program, as the host starts it, over an in-memory host that holds the data of
// the stand-in's sample book: first without a fault, then once for every host call that run makes
// with that call refused, once more with it throwing, and once for every allocation of the
// program with that allocation failing. After each run: the run has ended through ExitInstance,
// the host window is enabled again and was told the result exactly once (it is neither disabled
// nor told only when the connection itself fails), the connection is closed and the host's folders
// given back, a result 0 comes with the report of the run without faults and any other result with
// the earlier report untouched, no temporary file is left, the settings file is the old one or the
// new one whole, and the end line in the debugger output names a cause.
#include "aggregate/period.h"
#include "aggregate/request.h"
#include "app/overview_app.h"
#include "settings/settings_file.h"
#include "support/delivered.h"
#include "support/fake_host.h"
#include "support/memory_filesystem.h"
#include "support/portable/heap_memory.h"
#include "support/portable/text_mapping.h"
#include "support/portable/uncounted.h"
#include "support/recording_desktop.h"
#include "support/served_book.h"
#include "support/status_matchers.h"
#include "ui/condition_sheet_logic.h"
#include "unit/report_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

// The program's allocations, counted while counting is on; the one numbered failAt fails.
struct AllocationCounter {
    bool counting = false;
    long count = 0;
    long failAt = 0;
    bool fired = false;
};
AllocationCounter allocations;

void* Allocate(std::size_t size) {
    if (allocations.counting && testsupport::AllocationsCounted()) {
        if (++allocations.count == allocations.failAt) {
            allocations.fired = true;
            throw std::bad_alloc();
        }
    }
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

const char kProgramFolder[] = "C:\\Program\\";
const char kSettingsFolder[] = "C:\\Settings\\";
const char kReportPath[] = "C:\\Out\\事業概況書.xml";
const char kEarlierReport[] = "the report of an earlier run";
const auto kHostWindow = reinterpret_cast<platform::WindowHandle>(0x10002);
const auto kProgressWindow = reinterpret_cast<platform::WindowHandle>(0x5150);

// The condition sheet as the user leaves it untouched and executes it: its start-up, its form
// items, Execute with its checks and the save of the settings, and its end, in the order the
// sheet's window runs them.
class ExecutingSheet : public RunUi, private sheet::SheetView {
  public:
    ExecutingSheet(platform::Desktop& desktop, platform::FileSystem& files)
        : desktop_(desktop), files_(files) {}

    SheetOutcome RunConditionSheet(platform::Host& host, const AccountCatalogue& accounts,
                                   const ConditionSheetRequest& request,
                                   AggregationConditions& conditions) override {
        result_ = sheet::kNotShown;
        sheet::Controller controller(host, accounts, desktop_, files_, conditions, *this);
        controller.Live([&] {
            if (controller.StartUp(request.defaultMappingPath) &&
                controller.LoadFormItems(request.formItemPath))
                controller.Execute();
            // A sheet that Execute left open is one the user cancels.
            Close(sheet::kCancel);
        });
        return SheetOutcomeOf(result_, controller.cause());
    }
    std::unique_ptr<ProgressWindow> OpenProgress(platform::WindowHandle) override {
        return std::make_unique<testsupport::NullProgress>(kProgressWindow);
    }

  private:
    platform::WindowHandle Owner() override {
        return reinterpret_cast<platform::WindowHandle>(0x5300);
    }
    void FocusEndMonth() override {}
    void FocusOutputPath() override {}
    void BrowseOutputFile() override {}
    void Close(int result) override {
        if (result_ == sheet::kNotShown)
            result_ = result;
    }

    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    int result_ = sheet::kNotShown;
};

// The host's data as the program sees it through the stand-in's sample book: the data sets, the
// user, the account master, the tax settings, and the rows of the account-total cursor for the
// whole accounting period, which is what the untouched sheet asks for.
testsupport::FakeHost SampleHost() {
    testsupport::ServedBookScope scope;
    EXPECT_TRUE(
        testsupport::ServeBook("run_faults", "", "", std::string(OVW_BIN_DIR) + "/trading.json"));
    platform::Host& book = testsupport::LibraryHost();
    testsupport::FakeHost host;
    StDATAINFO selected{};
    EXPECT_OK(book.SelectedData(selected));
    EXPECT_OK(book.ForEachDataSet([&](const StDATAINFO& record) {
        if (record.dataNo() == selected.dataNo())
            host.selected = host.dataSets.size();
        host.dataSets.push_back(record);
        return true;
    }));
    platform::HostUser user;
    EXPECT_OK(book.CurrentUser(user));
    host.user = user;
    EXPECT_OK(book.ForEachAccount(nullptr, [&](const StKAMOKUINFO& account) {
        host.accounts.push_back(account);
        return true;
    }));
    EXPECT_OK(book.TaxSettings(selected.dataId(), host.tax));

    std::int16_t firstMonth = 0;
    std::int16_t endCode = 0;
    EXPECT_OK(
        GetPeriodMonths(book, selected.periodStart(), selected.periodEnd(), &firstMonth, &endCode));
    AggregationRequest request;
    EXPECT_OK(BuildAggregationRequest(book, request, selected, firstMonth,
                                      static_cast<std::int16_t>(endCode % 100)));
    std::unique_ptr<platform::AccountTotalCursor> totals;
    EXPECT_OK(book.OpenAccountTotals(selected.dataId(), totals));
    EXPECT_OK(totals->MoveReady(request.terms));
    StKAMOKUSUMINFO row{};
    for (bool more = true; totals->MoveNext(row, more).ok() && more;)
        host.totalRows.push_back(row);
    EXPECT_OK(totals->MoveFinish());

    host.outputFolder = "C:\\Out\\";
    host.settingsFolder = kSettingsFolder;
    return host;
}

// One machine: the program folder as installed, an earlier report and settings file, and the
// host; run once.
class Machine {
  public:
    explicit Machine(const testsupport::FakeHost& sample) : host(sample) {
        files.AddStandardMachine();
        files.AddFolder(kProgramFolder);
        files.SetProgramFolder(kProgramFolder);
        files.AddFolder("C:\\Out");
        files.AddFolder(kSettingsFolder);
        for (const char* name : {"QuorinDef.ini", "SUPPORT.INF", "IvyOvw21ToRv16_G_GaiKmk.dat",
                                 "IvyOvw21ToRv16_G_DefKmk.dat", "IvyOvw21ToRv30_G_GaiKmk.dat",
                                 "IvyOvw21ToRv30_G_DefKmk.dat"})
            files.AddFile(std::string(kProgramFolder) + name, testsupport::ReadDelivered(name));
        files.AddFile(kReportPath, kEarlierReport);
        files.AddFile(SettingsPath(), OldSettings());
    }

    // Runs the program; the allocations of the run are counted, and the one numbered
    // failAllocation (0: none) fails.
    int Run(long failAllocation = 0) {
        ClOverviewApp app(kEditionIvy, host, desktop, files,
                          "65538,1025,2," + std::string(kReportPath), &services);
        allocations = AllocationCounter{true, 0, failAllocation};
        platform::RunApplication(app);
        allocations.counting = false;
        return testsupport::RunResult(files.DebugLines());
    }

    // The settings file of the sample's user and data.
    std::string SettingsPath() const {
        AggregationConditions conditions;
        conditions.userId = host.user->id;
        conditions.selectionNo1 = static_cast<std::int32_t>(host.user->first);
        conditions.selectionNo2 = static_cast<std::int32_t>(host.user->dataNo);
        conditions.form = FormGeneration::k30;
        return kSettingsFolder + SettingsFileName(conditions);
    }
    // Settings of an earlier version: the first page's values without the mappings, which the
    // sheet then takes from the defaults.
    static std::string OldSettings() { return "[P1]\n3/0/0/C:\\Out\\old.xml\n[終了]\n"; }

    testsupport::FakeHost host;
    testsupport::MemoryFileSystem files;
    testsupport::RecordingDesktop desktop;
    ExecutingSheet sheet{desktop, files};
    platform::PortableTextMapping text;
    reporttest::FixedStrings strings;
    platform::HeapMemory memory;
    RunServices services{sheet, text, strings, memory};
};

// What the run without faults left behind.
struct CleanRun {
    int hostCalls = 0;
    std::vector<std::string> calls;
    long allocations = 0;
    std::string report;
    std::string settings;
};

class RunFaultTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        sample_ = new testsupport::FakeHost(SampleHost());
        Machine machine(*sample_);
        const int result = machine.Run();
        clean_.allocations = allocations.count;
        clean_.calls = machine.host.callLog;
        clean_.hostCalls = machine.host.calls;
        clean_.report = machine.files.FileBytes(kReportPath);
        clean_.settings = machine.files.FileBytes(machine.SettingsPath());
        ASSERT_EQ(0, result);
        ASSERT_EQ("overview run: result 0: ok", machine.files.DebugLines().back());
    }
    static void TearDownTestSuite() {
        delete sample_;
        sample_ = nullptr;
    }

    // The promises of a run that met the fault described by what; told: whether the run got to
    // know the host window (it does unless the connection itself failed).
    static void CheckEnd(const std::string& what, const Machine& machine, int result, bool told) {
        SCOPED_TRACE(what);
        // ExitInstance wrote the end line, last, and it names a cause.
        const std::string endLine = testsupport::RunEndLine(machine.files.DebugLines());
        EXPECT_EQ(0u, endLine.rfind("overview run: result " + std::to_string(result) + ": ", 0))
            << endLine;
        EXPECT_EQ(std::string::npos, endLine.find(": ok")) << endLine;

        // The host window: disabled, then enabled again and told the result once; or, when the
        // run ended before it knew the window, never touched.
        const std::vector<std::string> onHost = machine.desktop.CallsOn(kHostWindow);
        EXPECT_EQ(told, !onHost.empty()) << "the host window was touched";
        if (told && !onHost.empty()) {
            EXPECT_EQ("disable 0x10002", onHost.front());
            EXPECT_EQ("enable 0x10002", onHost.back());
            int posts = 0;
            for (const std::string& call : onHost)
                posts += call.rfind("post ", 0) == 0 ? 1 : 0;
            EXPECT_EQ(1, posts);
            EXPECT_EQ(1, std::count(onHost.begin(), onHost.end(),
                                    "post 0x10002 1025 2 " + std::to_string(result)));
        }

        // The host released: the connection closed once, and the folders given back after the
        // last time they were asked for.
        const std::vector<std::string>& calls = machine.host.callLog;
        EXPECT_EQ(1, machine.host.disconnects);
        const auto lastFolder = std::find(calls.rbegin(), calls.rend(), "FolderPath");
        if (lastFolder != calls.rend()) {
            EXPECT_NE(calls.end(), std::find(lastFolder.base(), calls.end(), "ReleaseFolders"))
                << "folders asked for and not given back";
        }

        // The report: the whole report of the clean run, or the earlier one untouched.
        const std::string report = machine.files.FileBytes(kReportPath);
        if (told && result == 0)
            EXPECT_TRUE(report == clean_.report) << "the report differs from the clean run's";
        else
            EXPECT_EQ(kEarlierReport, report);

        // No temporary file anywhere; the settings file old or new, whole.
        for (const auto& [path, entry] : machine.files.Tree())
            EXPECT_EQ(std::string::npos, path.find("~ovw")) << path << " left behind";
        const std::string settings = machine.files.FileBytes(machine.SettingsPath());
        EXPECT_TRUE(settings == Machine::OldSettings() || settings == clean_.settings)
            << "settings file: " << settings;
    }

    // A run for every host call of the clean run, with that call's fault set by fault.
    template <typename Fault> static void EveryHostCall(const char* what, Fault fault) {
        for (int call = 1; call <= clean_.hostCalls; ++call) {
            Machine machine(*sample_);
            fault(machine.host, call);
            const int result = machine.Run();
            CheckEnd("host call " + std::to_string(call) + " (" + clean_.calls[call - 1] + ") " +
                         what,
                     machine, result, call != 1);
        }
        std::printf("host calls %s in turn: %d\n", what, clean_.hostCalls);
    }

    static testsupport::FakeHost* sample_;
    static CleanRun clean_;
};

testsupport::FakeHost* RunFaultTest::sample_ = nullptr;
CleanRun RunFaultTest::clean_;

TEST_F(RunFaultTest, TheCleanRunWritesTheReportAndTheSettings) {
    EXPECT_EQ("", reporttest::XmllintErrors(clean_.report));
    EXPECT_NE(Machine::OldSettings(), clean_.settings);
    EXPECT_GT(clean_.hostCalls, 20);
    EXPECT_EQ("Connect", clean_.calls.front()) << "the host window is known past call 1";
    EXPECT_GT(clean_.allocations, 100);
}

TEST_F(RunFaultTest, EveryHostCallRefusedInTurn) {
    EveryHostCall("refused", [](testsupport::FakeHost& host, int call) { host.failCall = call; });
}

TEST_F(RunFaultTest, EveryHostCallThrowingInTurn) {
    EveryHostCall("throwing", [](testsupport::FakeHost& host, int call) { host.throwCall = call; });
}

TEST_F(RunFaultTest, EveryAllocationFailingInTurn) {
    for (long n = 1; n <= clean_.allocations; ++n) {
        Machine machine(*sample_);
        const int result = machine.Run(n);
        ASSERT_TRUE(allocations.fired) << "allocation " << n;
        CheckEnd("allocation " + std::to_string(n) + " fails", machine, result, true);
        if (HasFailure())
            break;
    }
    std::printf("allocations failed in turn: %ld\n", clean_.allocations);
}

} // namespace
