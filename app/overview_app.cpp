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
    if (host_.Connect(texts::kAppTitle, edition_.appType) != 0)
        return false;

    if (ParseHostCommandLine(commandLine_, command_) == 1) {
        startedByHost_ = 1;
        hostParent_ = ToWindow(command_.hostWnd);
        desktop_.EnableWindow(hostParent_, false);
        host_.SetOwnerWindow(hostParent_);
    }

    // Relative names later in the run ("QuorinDef.ini", "SUPPORT.INF") resolve here.
    files_.ChangeDirectory(files_.ProgramFolder());

    if (CheckEnvironment(host_, files_, hostParent_, 1) == 0) {
        exitCode_ = kFailure;
        return false;
    }

    const long link = host_.LinkPermission();
    if (link != 0) {
        exitCode_ = link == 1 ? kNoOutput : kFailure;
        return false;
    }

    if (SelectCompanyData(host_, dataRecord_) == 0) {
        // An all-zero record would give an empty company and a period of zero dates.
        desktop_.ShowMessage(nullptr, texts::kNoCompanyDataMessage, texts::kAppTitle,
                             platform::kMbIconExclamation | platform::kMbOk);
        exitCode_ = kFailure;
        return false;
    }
    if (dataRecord_.startUseMonth() == kPastResultsMonth) {
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
    return 0;
}
