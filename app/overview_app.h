// The application object: one run from the host connection to the exit notification.
#pragma once

#include "aggregate/statement_line.h"
#include "app/edition.h"
#include "app/host_command_line.h"
#include "host/records.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/host.h"
#include "platform/status.h"
#include "ui/run_ui.h"

#include <string>

class ClOverviewApp : public platform::Application {
  public:
    // Result codes of a run, posted to the host window as lParam.
    enum ExitCode { kReportWritten = 0, kNoOutput = 1, kFailure = 2 };

    // Without services the run ends before the condition sheet, as if it had been cancelled.
    ClOverviewApp(const Edition& edition, platform::Host& host, platform::Desktop& desktop,
                  platform::FileSystem& files, std::string commandLine,
                  const RunServices* services = nullptr);
    ~ClOverviewApp() override;

    bool InitInstance() override;
    // An exception left InitInstance: the run fails with its cause, and the user is told when a
    // message can still be shown.
    void Abandon(std::exception_ptr failure) noexcept override;
    // Every step runs whatever an earlier one met: the host connection is closed, the host
    // window enabled and told the result, and the end line written.
    int ExitInstance() noexcept override;

  private:
    // From the condition sheet to the final message: the result of InitInstance.
    bool RunConditionsAndReport();
    bool AggregateAndWrite(const AggregationConditions& conditions);
    // Ends the run as a failure with its cause, telling the user with message (none: nothing).
    bool Fail(platform::Status cause, const char* message);
    // Keeps a failure that the run can do without, when nothing was kept before.
    void Note(platform::Status status);
    // Runs one step of the exit; an exception it throws is kept as the cause when none was.
    template <typename Step> void ExitStep(const char* name, Step step) noexcept;
    void WriteEndLine() noexcept;

    const Edition& edition_;
    platform::Host& host_;
    const RunServices* services_;
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    // The host's command line as given; it becomes command_ when the run starts.
    std::string commandLine_;

    int startedByHost_ = 0;
    HostCommandLine command_;
    platform::WindowHandle hostParent_ = nullptr;
    int exitCode_ = kReportWritten;
    // The report is in place, whole.
    bool reportWritten_ = false;
    // Why the run ended without a report; when it wrote one, or the user cancelled, the first
    // failure that it could do without (a settings file not saved, a host folder refused), else
    // success. ExitInstance writes it to the debugger's output.
    platform::Status failure_;
    MappingEntries mappings_;
    StatementLines statementLines_;
    // The selected company data, its form generation and the header texts of the condition
    // sheet: the company " %s" and the period (texts::kPeriodHeaderFormat).
    StDATAINFO dataRecord_{};
    FormGeneration form_ = FormGeneration::k16;
    std::string companyText_;
    std::string periodText_;
};
