#include "app/overview_app.h"

#include "app/company_data.h"
#include "app/environment_check.h"
#include "texts/catalogue.h"

#include <utility>

namespace {

// startUseMonth of past-results data, which cannot be linked.
constexpr std::int16_t kPastResultsMonth = 99;

// The host names its window by number on the command line.
platform::WindowHandle ToWindow(std::intptr_t value) {
    return reinterpret_cast<platform::WindowHandle>(value); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

ClOverviewApp::ClOverviewApp(const Edition& edition, platform::Host& host,
                             platform::Desktop& desktop, platform::FileSystem& files,
                             std::string commandLine, const RunServices* services)
    : edition_(edition), host_(host), services_(services), desktop_(desktop), files_(files),
      commandLine_(std::move(commandLine)) {}

ClOverviewApp::~ClOverviewApp() = default;

bool ClOverviewApp::InitInstance() {
    if (const long code = host_.Connect(texts::kAppTitle, edition_.appType); code != 0) {
        failure_ = platform::Status::HostRefused("Initiate", code);
        return false;
    }

    if (ParseHostCommandLine(commandLine_, command_).ok()) {
        startedByHost_ = 1;
        hostParent_ = ToWindow(command_.hostWnd);
        desktop_.EnableWindow(hostParent_, false);
        host_.SetOwnerWindow(hostParent_);
    }

    // Relative names later in the run ("QuorinDef.ini", "SUPPORT.INF") resolve here: without the
    // program's folder the definition file cannot be found, and the run ends as it would then.
    const std::string programFolder = files_.ProgramFolder();
    if (!files_.ChangeDirectory(programFolder)) {
        failure_ = platform::Status::Io("ChangeDirectory", files_.LastError(), programFolder);
        ShowEnvironmentMessage(host_, hostParent_, kEnvironmentInvalid);
        exitCode_ = kFailure;
        return false;
    }

    failure_ = CheckEnvironment(host_, files_, hostParent_, 1);
    if (!failure_.ok()) {
        exitCode_ = kFailure;
        return false;
    }

    const long link = host_.LinkPermission();
    if (link != 0) {
        failure_ = platform::Status::HostRefused("ExpSysLink", link);
        exitCode_ = link == 1 ? kNoOutput : kFailure;
        return false;
    }

    failure_ = SelectCompanyData(host_, dataRecord_);
    if (!failure_.ok()) {
        // An all-zero record would give an empty company and a period of zero dates.
        desktop_.ShowMessage(nullptr, texts::kNoCompanyDataMessage, texts::kAppTitle,
                             platform::kMbIconExclamation | platform::kMbOk);
        exitCode_ = kFailure;
        return false;
    }
    if (dataRecord_.startUseMonth() == kPastResultsMonth) {
        failure_ = platform::Status::RangeRefused("past-results-data", kPastResultsMonth);
        desktop_.ShowMessage(nullptr, texts::kPastResultsMessage, texts::kAppTitle,
                             platform::kMbIconExclamation | platform::kMbOk);
        exitCode_ = kNoOutput;
        return false;
    }
    newForm_ = NewFormOf(dataRecord_);
    companyText_ = CompanyHeaderText(dataRecord_);
    periodText_ = PeriodHeaderText(dataRecord_);
    return RunConditionsAndReport();
}

int ClOverviewApp::ExitInstance() {
    mappings_.clear();
    statementLines_.clear();

    host_.Disconnect();

    if (startedByHost_ == 1) {
        desktop_.SetForegroundWindow(hostParent_);
        desktop_.EnableWindow(hostParent_, true);
        desktop_.Post(hostParent_, static_cast<unsigned>(command_.hostMsg),
                      static_cast<std::intptr_t>(command_.functionId), exitCode_);
        desktop_.EnableWindow(hostParent_, true);
    }

    // Once, at the very end: a support call can be answered from the debugger's log.
    files_.DebugOutput("overview run: result " + std::to_string(exitCode_) + ": " +
                       platform::LogLine(failure_));
    return 0;
}
