// The windows of a run behind a small interface, so that the run sequence stays portable: the
// Windows program provides the real sheet and progress dialog, tests provide doubles.
#pragma once

#include "aggregate/progress.h"
#include "platform/desktop.h"
#include "platform/host.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "settings/conditions.h"

#include <memory>
#include <string>

// The progress dialog of a run.
class ProgressWindow : public ProgressSink {
  public:
    // The dialog's window, owner of the final message box.
    virtual platform::WindowHandle Window() const = 0;
    // Ends the dialog with result 1; the window goes when the object goes.
    virtual void Close() = 0;
};

struct ConditionSheetRequest {
    std::string caption;
    // Owner of the sheet: the host window of a host-started run, else none.
    platform::WindowHandle owner = nullptr;
    int newForm = 0;
    // Page 1's header texts.
    std::string companyText;
    std::string periodText;
    // The data files of the form generation: the default mappings and the statement lines.
    std::string defaultMappingPath;
    std::string formItemPath;
};

class RunUi {
  public:
    virtual ~RunUi() = default;
    // Shows the condition-entry sheet modally over the conditions that the run has filled, on
    // the data of host; the conditions come back as the user left them. Returns 2000 when the
    // user executed, -1 when the sheet's window could not be made.
    virtual int RunConditionSheet(platform::Host& host, const ConditionSheetRequest& request,
                                  AggregationConditions& conditions) = 0;
    // Creates and shows the progress dialog, inside hostWnd when it is given; null when the
    // window cannot be created.
    virtual std::unique_ptr<ProgressWindow> OpenProgress(platform::WindowHandle hostWnd) = 0;
};

// What the run needs beyond the desktop and the file system, from the sheet on.
struct RunServices {
    RunUi& ui;
    platform::TextMapping& text;
    platform::StringResources& strings;
    platform::GlobalMemory& memory;
};
