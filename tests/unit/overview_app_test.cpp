// The run as the host sees it: which of its windows are disabled, enabled and notified, in which
// order, and with which values.
#include "app/overview_app.h"
#include "platform/sjis.h"
#include "support/fake_host.h"
#include "support/memory_filesystem.h"
#include "support/recording_desktop.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kProgramFolder[] = "C:\\会計\\決算表\\";

class OverviewAppTest : public ::testing::Test {
  protected:
    OverviewAppTest() {
        files.AddStandardMachine();
        files.AddFolder(kProgramFolder);
        files.SetProgramFolder(kProgramFolder);
        files.AddFile(std::string(kProgramFolder) + "QuorinDef.ini",
                      "[ProgramLevel]\r\nRV16_G=3\r\n");
        host.user = platform::HostUser{"tanaka", 1, 12};
        host.dataSets = {testsupport::FakeHost::DataSet("MNT", 12, "Minato", 20230401, 20240331)};
    }

    // Runs the program as one process would, with the given command line.
    void Run(const std::string& commandLine) {
        ClOverviewApp app(kEditionIvy, host, desktop, files, commandLine);
        platform::RunApplication(app);
    }

    // The calls that touch any window other than through a message box.
    std::vector<std::string> WindowCalls() const {
        std::vector<std::string> found;
        for (const std::string& call : desktop.calls)
            if (call.rfind("message", 0) != 0 && call.rfind("wait-cursor", 0) != 0)
                found.push_back(call);
        return found;
    }

    testsupport::FakeHost host;
    testsupport::MemoryFileSystem files;
    testsupport::RecordingDesktop desktop;
};

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

TEST_F(OverviewAppTest, HostStartedRunDisablesTheHostWindowThenEnablesItAndPostsTheResult) {
    // 40000 does not fit 16 bits: it is kept as -25536 and posted sign-extended.
    // Without the windows of a run it ends before the sheet, as if cancelled: result 1.
    Run("65538,1025,40000,C:\\出力\\a,b.xml");
    const std::vector<std::string> expected = {
        "disable 0x10002", "foreground 0x10002", "enable 0x10002", "post 0x10002 1025 -25536 1",
        "enable 0x10002",
    };
    EXPECT_EQ(expected, WindowCalls()) << "calls:" << Lines(desktop.calls);
    EXPECT_EQ(expected, desktop.CallsOn(reinterpret_cast<platform::WindowHandle>(0x10002)));
}

TEST_F(OverviewAppTest, RunWithoutAHostCommandLineTouchesNoWindowAndPostsNothing) {
    for (const std::string commandLine : {"", "65538", "65538,1025,7"}) {
        desktop.calls.clear();
        Run(commandLine);
        EXPECT_TRUE(WindowCalls().empty())
            << "command line \"" << commandLine << "\", calls:" << Lines(desktop.calls);
    }
}

TEST_F(OverviewAppTest, TheConnectionIsOpenedWithTheEditionAndClosedOnceAtExit) {
    Run("65538,1025,2,");
    EXPECT_EQ(1, host.connects);
    EXPECT_EQ("事業概況書", host.appTitle);
    EXPECT_EQ(4, host.appType);
    EXPECT_EQ(reinterpret_cast<HostWnd>(0x10002), host.ownerWnd);
    EXPECT_EQ(1, host.disconnects);
    // The selected data was found (else result 2), and the run ended before the sheet.
    EXPECT_EQ(
        std::vector<std::string>({"Connect", "SetOwnerWindow", "LinkPermission", "CurrentUser",
                                  "ForEachDataSet", "ForEachDataSet end", "Disconnect"}),
        host.callLog);
    EXPECT_EQ("overview run: result 1: ok", testsupport::RunEndLine(files.DebugLines()));

    for (const Edition* edition : {&kEditionOak, &kEditionElm}) {
        testsupport::FakeHost other;
        ClOverviewApp run(*edition, other, desktop, files, "");
        platform::RunApplication(run);
        EXPECT_EQ(edition->appType, other.appType);
        EXPECT_EQ(nullptr, other.ownerWnd) << "no host window, no owner";
        EXPECT_EQ(1, other.disconnects);
    }
}

TEST_F(OverviewAppTest, RefusedConnectionOrLinkEndsTheRunBeforeTheSelection) {
    host.initiateResult = 3;
    Run("65538,1025,2,");
    EXPECT_EQ(std::vector<std::string>({"Connect", "Disconnect"}), host.callLog);
    EXPECT_TRUE(WindowCalls().empty()) << "calls:" << Lines(desktop.calls);
    EXPECT_EQ(1, host.disconnects);

    host.initiateResult = 0;
    for (const auto& [link, exitCode] : {std::pair(1L, 1), std::pair(5L, 2), std::pair(-1L, 2)}) {
        host.linkResult = link;
        host.callLog.clear();
        files.ClearDebugLines();
        Run("65538,1025,2,");
        EXPECT_EQ(exitCode, testsupport::RunResult(files.DebugLines())) << "link " << link;
        EXPECT_EQ(
            std::vector<std::string>({"Connect", "SetOwnerWindow", "LinkPermission", "Disconnect"}),
            host.callLog)
            << "link " << link;
    }
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(OverviewAppTest, RunChangesToTheProgramFolderEvenWhenItsNameEndsInA5CTrailByte) {
    files.SetCurrentDirectory("C:\\Temp");
    Run("");
    std::string current = files.CurrentDirectory();
    if (!platform::EndsWithBackslash(current))
        current += '\\';
    EXPECT_EQ(kProgramFolder, current);
}

} // namespace
