// The progress window (template 133): a modeless dialog with the main bar and the
// activity bar, shown while the run totals the accounts and writes the report. It has no
// buttons and no system menu; the run sequence creates, shows and destroys it.
#pragma once

#include "aggregate/progress.h"
#include "ui/progress_controller.h"
#include "ui/win32/dialog.h"

#include <chrono>

class ClProgressDlg : public win::ModelessDialog, public ProgressSink, private ProgressView {
  public:
    // refreshInterval: the least time between two refreshes of the window (zero: every step).
    explicit ClProgressDlg(
        std::chrono::nanoseconds refreshInterval = ProgressController::kRefreshInterval);

    // Creates the window hidden, owned by parent (may be null).
    bool Create(HWND parent);
    // Hides the window, which still exists so that it can own the final message box; it is
    // destroyed with the object. Not EndDialog: that enables the dialog's owner or parent, the
    // host window, which must stay disabled until the program ends.
    void Hide() { Show(SW_HIDE); }

    void ResetMainBar() override { controller_.ResetMainBar(); }
    void AdvanceTo(std::int16_t start, std::int16_t end) override {
        controller_.AdvanceTo(start, end);
    }
    void ActivityTick() override { controller_.ActivityTick(); }

  private:
    bool OnInit() override;

    void SetCaption(const std::string& caption) override;
    void StartMainBar() override;
    void UpdateBars(int mainSteps, bool restartActivity, int activitySteps) override;
    void BringToFront() override;
    void RepaintNow() override;

    win::Window mainBar_;
    win::Window activityBar_;
    // The caption changed since the window was last drawn.
    bool captionChanged_ = false;
    ProgressController controller_;
};
