#include "app/overview_app.h"

#include "host/hostconn.h"
#include "platform/sjis.h"

#include <utility>

namespace {

const char kAppTitle[] = "事業概況書";

platform::WindowHandle ToWindow(std::intptr_t value) { return reinterpret_cast<platform::WindowHandle>(value); }

} // namespace

ClOverviewApp::ClOverviewApp(const Edition& edition, platform::Desktop& desktop,
                             platform::FileSystem& files, std::string commandLine)
    : edition_(edition), desktop_(desktop), files_(files), commandLine_(std::move(commandLine)) {}

ClOverviewApp::~ClOverviewApp() = default;

bool ClOverviewApp::InitInstance() {
    ClAccConnect* connect = ClAccConnect::Inst();
    platform::CopyToField(connect->appTitle, sizeof connect->appTitle, kAppTitle);
    connect->SetAppType(edition_.appType);
    connect->SetUseDataType(1);
    if (connect->Initiate() != 0)
        return false;

    if (ParseHostCommandLine(commandLine_, command_) == 1) {
        startedByHost_ = 1;
        hostParent_ = ToWindow(command_.hostWnd);
        desktop_.EnableWindow(hostParent_, false);
        connect->ownerWnd = hostParent_;
    }

    // Relative names later in the run ("QuorinDef.ini", "SUPPORT.INF") resolve here.
    files_.ChangeDirectory(files_.ProgramFolder());

    const long link = connect->ExpSysLink();
    if (link != 0) {
        exitCode_ = link == 1 ? kNoOutput : kFailure;
        return false;
    }
    return true;
}

int ClOverviewApp::ExitInstance() {
    mappings_.clear();
    statementLines_.clear();

    ClAccConnect* connect = ClAccConnect::Inst();
    connect->LogOut();
    connect->Terminate();
    connect->Release();

    if (startedByHost_ == 1) {
        desktop_.SetForegroundWindow(hostParent_);
        desktop_.EnableWindow(hostParent_, true);
        desktop_.Post(hostParent_, static_cast<unsigned>(command_.hostMsg),
                             static_cast<std::intptr_t>(command_.functionId), exitCode_);
        desktop_.EnableWindow(hostParent_, true);
    }
    return 0;
}
