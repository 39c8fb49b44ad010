// The real windows of a run: the condition-entry sheet and the progress dialog.
#pragma once

#include "app/edition.h"
#include "app/run_ui.h"
#include "platform/filesystem.h"

class Win32RunUi : public RunUi {
  public:
    Win32RunUi(platform::Desktop& desktop, platform::FileSystem& files, const Edition& edition)
        : desktop_(desktop), files_(files), edition_(edition) {}

    int RunConditionSheet(const ConditionSheetRequest& request,
                          AggregationConditions& conditions) override;
    std::unique_ptr<ProgressWindow> OpenProgress(platform::WindowHandle hostWnd) override;

  private:
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    const Edition& edition_;
};
