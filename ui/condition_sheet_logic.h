// The condition-entry sheet's decisions without window code: the layout of its button bar,
// navigation between the pages, the keyboard rules, and Execute and Cancel with their
// questions and messages. The Win32 sheet binds them to its windows through SheetView.
#pragma once

#include "aggregate/account_catalogue.h"
#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/host.h"
#include "platform/status.h"
#include "settings/conditions.h"
#include "settings/statement_files.h"

#include <cstdint>
#include <string>

namespace sheet {

// Command IDs of the button bar; Execute and Cancel are also the results of the modal run.
enum Command : int { kExecute = 2000, kCancel = 2001, kPrevious = 2002, kNext = 2003 };
// The other results of the modal run: the window could not be made, or a failure that the sheet
// cannot do without ended it (Controller::cause() says which).
enum Result : int { kNotShown = -1, kFailed = -2 };

// Placement of the four buttons in the sheet's client area of width by height pixels.
struct ButtonPlace {
    int left = 0;
    int width = 0;
};
struct ButtonBar {
    ButtonPlace previous, next, execute, cancel;
    int top = 0;
};
ButtonBar LayOutButtonBar(int width, int height);

// Pages 0, 1 and 2; Next and Previous stop at the ends.
constexpr int kPageCount = 3;
int NextPage(int index);
int PreviousPage(int index);
struct NavigationButtons {
    bool previousEnabled = false;
    bool nextEnabled = false;
};
NavigationButtons NavigationFor(int pageIndex);

// Virtual-key codes the keyboard rules look at.
enum Key : unsigned {
    kKeyEnter = 0x0D,
    kKeyEscape = 0x1B,
    kKeyF4 = 0x73,
    kKeyF5 = 0x74,
    kKeyF6 = 0x75,
    kKeyF12 = 0x7B
};
struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    [[nodiscard]] bool any() const { return shift || ctrl || alt; }
    [[nodiscard]] bool onlyAlt() const { return alt && !shift && !ctrl; }
};
enum class KeyAction { PassOn, Swallow, Previous, Next, Execute, Cancel };
// isKey: a key message (down or up, system or not); isKeyDown: WM_KEYDOWN. focusedCommand is
// the command ID of the bar button that has the focus, 0 when the focus is elsewhere.
KeyAction DecideKey(bool isKey, bool isKeyDown, unsigned key, Modifiers modifiers,
                    int focusedCommand);
// Alt+F4 is swallowed by the sheet and by each page.
[[nodiscard]] bool IsAltF4(bool isKey, unsigned key, Modifiers modifiers);

// The default output path: the host's default output folder followed by "*.xml", or, when the
// host has none, the temporary folder with a trailing separator followed by "*.xml" (empty
// when the temporary folder is too long to take one).
std::string DefaultOutputPath(const std::string& hostFolder, const std::string& tempFolder);

// What the start-up takes from the host and the machine.
struct StartUpValues {
    std::int16_t periodFirstMonth = 0; // from GetPeriodMonths
    std::int16_t periodEndCode = 0;    // from GetPeriodMonths
    // The host's tax-inclusive preset (byte 5 of its consumption-tax record), 0 when unreadable.
    int hostTaxIncluded = 0;
    std::string hostOutputFolder; // the host's default output folder, empty when none
    // The host's settings folder; empty when the host refused it: then settings are neither
    // read nor written, so that saved mappings are never replaced by defaults.
    std::string settingsFolder;
    std::string tempFolder;
    std::string defaultMappingPath;
};

// The start-up's work on the conditions: whether the host fixed the output path, the period's
// months, the saved settings and the default mappings, the host's tax preset and the default
// mappings when nothing usable was saved, and the default output path when there is none.
// Missing or broken settings are never reported, defaults apply; a default-mapping file that
// cannot be read leaves no defaults, and its cause comes back.
[[nodiscard]] platform::Status PrepareConditions(AggregationConditions& conditions,
                                                 platform::FileSystem& files,
                                                 const StartUpValues& values,
                                                 const AccountCodeLookup& lookup);

// What Execute checks, read from the aggregation conditions when the user executes.
struct ExecuteInput {
    std::int16_t periodFirstMonth = 0; // from GetPeriodMonths
    std::int16_t periodEndCode = 0;    // from GetPeriodMonths
    std::int16_t firstMonth = 0;
    std::int16_t endMonth = 0;
    std::int16_t introMonth = 0;
    std::string outputPath;
    bool outputPathFixed = false;
};

// Where a failed check leaves the user; each call activates page 1 first.
class SheetView {
  public:
    virtual ~SheetView() = default;
    virtual platform::WindowHandle Owner() = 0;
    // The end-month field focused, its whole text selected, the insertion point in view.
    virtual void FocusEndMonth() = 0;
    // The output-path field focused likewise.
    virtual void FocusOutputPath() = 0;
    // Page 1's file dialog.
    virtual void BrowseOutputFile() = 0;
    virtual void Close(int result) = 0;
};

// The sheet's work apart from its windows: the start-up over the host, Execute and Cancel with
// their questions, messages and the save of the settings, and the end. A failure of the host or
// of the settings file that the run can do without is kept as a note; one that it cannot do
// without closes the sheet with kFailed.
class Controller {
  public:
    // conditions are the sheet's; the accounts of host are looked up in accounts.
    Controller(platform::Host& host, const AccountCatalogue& accounts, platform::Desktop& desktop,
               platform::FileSystem& files, AggregationConditions& conditions, SheetView& view)
        : host_(host), accounts_(accounts), desktop_(desktop), files_(files),
          conditions_(conditions), view_(view) {}

    // The start-up's work on the conditions: the months of the period of the conditions, the
    // host's tax preset, default output folder and settings folder, and the temporary folder,
    // then PrepareConditions. False when a failure closed the sheet: the host cannot tell the
    // period's months. A refusal of the tax settings or a folder leaves that value empty (the
    // tax option off, no folder) and is noted.
    [[nodiscard]] bool StartUp(const std::string& defaultMappingPath);
    // Loads the statement lines of the sheet's form generation from formItemPath. Without them
    // nothing can be aggregated: when they cannot be read the user is told, the cause kept, and
    // the sheet closes as cancelled (false).
    [[nodiscard]] bool LoadFormItems(const std::string& formItemPath);
    // Execute on the conditions, with the period's months as the host reckons them now; the
    // sheet closes, or stays open with the user told what to mend.
    void Execute();
    // The nine steps of Execute: on success the settings are saved and the sheet closes with
    // kExecute; otherwise one message is shown, the focus placed, and the sheet stays open.
    void Execute(const ExecuteInput& input);
    // The save question, the notice, and the close with kCancel.
    void Cancel();
    // A failure that the sheet cannot do without: kept, and the sheet closed with kFailed.
    void Fail(platform::Status failure);
    // Runs the sheet's life, then releases the host's folder service, also when the sheet ends
    // by an exception: that goes on, and a failure of the release on the way comes second to it.
    template <typename Life> void Live(Life life) {
        try {
            life();
        } catch (...) {
            try {
                Finish();
            } catch (...) {
            }
            throw;
        }
        Finish();
    }

    // What ended the sheet with kFailed; otherwise the first failure that it could do without,
    // or success.
    const platform::Status& cause() const { return cause_; }

  private:
    // At the sheet's end: the host's folder service released.
    void Finish();
    [[nodiscard]] bool CheckPeriod(const ExecuteInput& input);
    [[nodiscard]] bool CheckOutputPath(const ExecuteInput& input);
    void SaveSettings();
    void Note(platform::Status status);
    int Ask(const char* text);
    void Complain(const char* text);

    platform::Host& host_;
    const AccountCatalogue& accounts_;
    platform::Desktop& desktop_;
    platform::FileSystem& files_;
    AggregationConditions& conditions_;
    SheetView& view_;
    // The settings folder as the start-up found it; the settings are saved where they were read.
    std::string settingsFolder_;
    platform::Status cause_;
    bool failed_ = false;
};

} // namespace sheet
