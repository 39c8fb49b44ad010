// The application object: one run from the host connection to the exit notification.
#pragma once

#include "aggregate/statement_line.h"
#include "app/edition.h"
#include "app/host_command_line.h"
#include "platform/application.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"

#include <string>

class ClSetData;

class ClOverviewApp : public platform::Application {
  public:
    // Result codes of a run, posted to the host window as lParam.
    enum ExitCode { kReportWritten = 0, kNoOutput = 1, kFailure = 2 };

    ClOverviewApp(const Edition& edition, platform::Desktop& desktop, platform::FileSystem& files,
                  std::string commandLine);
    ~ClOverviewApp() override;

    bool InitInstance() override;
    int ExitInstance() override;

    int exitCode() const { return exitCode_; }
    int startedByHost() const { return startedByHost_; }
    const HostCommandLine& hostCommand() const { return command_; }

  private:
    const Edition& edition_;
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    std::string commandLine_;

    int startedByHost_ = 0;
    HostCommandLine command_;
    platform::WindowHandle hostParent_ = nullptr;
    int exitCode_ = kReportWritten;
    MappingEntries mappings_;
    StatementLines statementLines_;
    ClSetData* dataSet_ = nullptr;
};
