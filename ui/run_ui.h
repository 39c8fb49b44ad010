// The windows of a run behind a small interface, so that the run sequence stays portable: the
// Windows program provides the real sheet and progress dialog, tests provide doubles.
#pragma once

#include "aggregate/account_catalogue.h"
#include "aggregate/progress.h"
#include "platform/desktop.h"
#include "platform/host.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/status.h"
#include "platform/text.h"
#include "settings/conditions.h"
#include "ui/condition_sheet_logic.h"

#include <memory>
#include <string>
#include <utility>

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
    FormGeneration form = FormGeneration::k16;
    // Page 1's header texts.
    std::string companyText;
    std::string periodText;
    // The data files of the form generation: the default mappings and the statement lines.
    std::string defaultMappingPath;
    std::string formItemPath;
};

// How the condition sheet ended.
struct SheetOutcome {
    enum class End { kExecuted, kCancelled, kNotShown, kFailed };
    End end = End::kCancelled;
    // kFailed: the failure that ended the sheet; otherwise the first failure of the host or the
    // settings file that the sheet could do without, or success.
    platform::Status cause;
};

// How a sheet that closed with result (sheet::kExecute, kCancel, kFailed or kNotShown) ended;
// cause as its controller kept it.
inline SheetOutcome SheetOutcomeOf(int result, platform::Status cause) {
    SheetOutcome outcome;
    switch (result) {
    case sheet::kExecute:
        outcome.end = SheetOutcome::End::kExecuted;
        break;
    case sheet::kNotShown:
        outcome.end = SheetOutcome::End::kNotShown;
        break;
    case sheet::kFailed:
        outcome.end = SheetOutcome::End::kFailed;
        break;
    default:
        outcome.end = SheetOutcome::End::kCancelled;
        break;
    }
    outcome.cause = std::move(cause);
    return outcome;
}

class RunUi {
  public:
    virtual ~RunUi() = default;
    // Shows the condition-entry sheet modally over the conditions that the run has filled, on
    // the data of host, whose account master accounts holds; the conditions come back as the
    // user left them.
    virtual SheetOutcome RunConditionSheet(platform::Host& host, const AccountCatalogue& accounts,
                                           const ConditionSheetRequest& request,
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
