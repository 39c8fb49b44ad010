#include "app/overview_app.h"

#include "app/company_data.h"
#include "app/environment_check.h"
#include "texts/catalogue.h"

#include <utility>

namespace {

// The start of the line that tells, in the debugger output, how the run ended.
const char kEndLinePrefix[] = "overview run: result ";

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
    // A connection that is refused ends the run before the host window is known: nothing is
    // shown and nothing posted.
    if (platform::Status connected = host_.Connect(texts::kAppTitle, edition_.appType);
        !connected.ok()) {
        failure_ = std::move(connected);
        return false;
    }

    // Nothing may fail between here and the host window's being known: the host must be told.
    if (ParseHostCommandLine(std::move(commandLine_), command_).ok()) {
        startedByHost_ = 1;
        hostParent_ = ToWindow(command_.hostWnd);
        desktop_.EnableWindow(hostParent_, false);
        // Without it the host's own messages have no owner; the run goes on.
        Note(host_.SetOwnerWindow(hostParent_));
    }

    // Relative names later in the run ("QuorinDef.ini", "SUPPORT.INF") resolve here: without the
    // program's folder the definition file cannot be found, and the run ends as it would then.
    const std::string programFolder = files_.ProgramFolder();
    if (!files_.ChangeDirectory(programFolder)) {
        platform::Status entered =
            platform::Status::Io("ChangeDirectory", files_.LastError(), programFolder);
        ShowEnvironmentMessage(host_, hostParent_, kEnvironmentInvalid);
        return Fail(std::move(entered), nullptr);
    }

    if (platform::Status checked = CheckEnvironment(host_, files_, hostParent_, 1); !checked.ok())
        return Fail(std::move(checked), nullptr);

    if (platform::Status linked = host_.LinkPermission(); !linked.ok()) {
        // The host refuses the link with 1 when there is simply nothing to link.
        exitCode_ = linked.cause() == platform::Cause::kHostRefused && linked.code() == 1
                        ? kNoOutput
                        : kFailure;
        failure_ = std::move(linked);
        return false;
    }

    if (platform::Status selected = SelectCompanyData(host_, dataRecord_); !selected.ok())
        // An all-zero record would give an empty company and a period of zero dates.
        return Fail(std::move(selected), texts::kNoCompanyDataMessage);
    if (dataRecord_.startUseMonth() == kPastResultsMonth) {
        failure_ = platform::Status::RangeRefused("past-results-data", kPastResultsMonth);
        desktop_.ShowMessage(nullptr, texts::kPastResultsMessage, texts::kAppTitle,
                             platform::kMbIconExclamation | platform::kMbOk);
        exitCode_ = kNoOutput;
        return false;
    }
    form_ = FormGenerationOf(dataRecord_.periodEnd());
    companyText_ = CompanyHeaderText(dataRecord_);
    periodText_ = PeriodHeaderText(dataRecord_);
    return RunConditionsAndReport();
}

bool ClOverviewApp::Fail(platform::Status cause, const char* message) {
    failure_ = std::move(cause);
    exitCode_ = kFailure;
    if (message != nullptr)
        desktop_.ShowMessage(nullptr, message, texts::kAppTitle,
                             platform::kMbIconExclamation | platform::kMbOk);
    return false;
}

void ClOverviewApp::Note(platform::Status status) {
    if (failure_.ok())
        failure_ = std::move(status);
}

void ClOverviewApp::Abandon(std::exception_ptr failure) noexcept {
    // A report already in place is whole: what failed after it (the closing message) does not
    // undo it, and the host and the user are told so.
    exitCode_ = reportWritten_ ? kReportWritten : kFailure;
    try {
        failure_ = platform::CauseOfException("InitInstance", failure);
        // The windows of the run are gone with the stack that held them: the message has no
        // owner, as the run's other messages before the sheet.
        if (reportWritten_)
            desktop_.ShowMessage(nullptr, texts::kWrittenMessage, texts::kAppTitle,
                                 platform::kMbIconInformation | platform::kMbOk);
        else
            desktop_.ShowMessage(nullptr,
                                 failure_.cause() == platform::Cause::kOutOfMemory
                                     ? texts::kOutOfMemoryMessage
                                     : texts::kUnexpectedErrorMessage,
                                 texts::kAppTitle, platform::kMbIconExclamation | platform::kMbOk);
    } catch (...) {
        // Without memory even for the message: the end line still names the run's failure.
        if (failure_.ok())
            failure_ = platform::Status::OutOfMemory("Abandon");
    }
}

template <typename Step> void ClOverviewApp::ExitStep(const char* name, Step step) noexcept {
    try {
        step();
    } catch (...) {
        try {
            Note(platform::CauseOfException(name, std::current_exception()));
        } catch (...) {
            Note(platform::Status::OutOfMemory(name));
        }
    }
}

int ClOverviewApp::ExitInstance() noexcept {
    mappings_.clear();
    statementLines_.clear();

    ExitStep("Disconnect", [this] { Note(host_.Disconnect()); });

    if (startedByHost_ == 1) {
        ExitStep("SetForegroundWindow", [this] { desktop_.SetForegroundWindow(hostParent_); });
        ExitStep("EnableWindow", [this] { desktop_.EnableWindow(hostParent_, true); });
        ExitStep("PostMessage", [this] {
            desktop_.Post(hostParent_, static_cast<unsigned>(command_.hostMsg),
                          static_cast<std::intptr_t>(command_.functionId), exitCode_);
        });
        ExitStep("EnableWindow", [this] { desktop_.EnableWindow(hostParent_, true); });
    }

    WriteEndLine();
    return 0;
}

void ClOverviewApp::WriteEndLine() noexcept {
    // Once, at the very end: a support call can be answered from the debugger's log.
    try {
        files_.DebugOutput(kEndLinePrefix + std::to_string(exitCode_) + ": " +
                           platform::LogLine(failure_));
    } catch (...) {
        // No memory for the line with its detail: the line with the result and the lack of it.
        try {
            files_.DebugOutput(kEndLinePrefix + std::to_string(exitCode_) +
                               ": out-of-memory step=end-line");
        } catch (...) {
        }
    }
}
