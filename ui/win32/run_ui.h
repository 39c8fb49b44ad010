// The real windows of a run: the condition-entry sheet and the progress dialog.
#pragma once

#include "platform/filesystem.h"
#include "ui/run_ui.h"

class Win32RunUi : public RunUi {
  public:
    Win32RunUi(platform::Desktop& desktop, platform::FileSystem& files)
        : desktop_(desktop), files_(files) {}

    SheetOutcome RunConditionSheet(platform::Host& host, const AccountCatalogue& accounts,
                                   const ConditionSheetRequest& request,
                                   AggregationConditions& conditions) override;
    std::unique_ptr<ProgressWindow> OpenProgress(platform::WindowHandle hostWnd) override;

  private:
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
};
