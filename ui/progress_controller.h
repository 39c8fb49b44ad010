// What the progress dialog does on each call of the aggregation and the report writer, apart
// from the window itself: the caption texts::kProgressCaptionFormat at every tenth of the main
// scale, the steps of both bars, and how often the window is brought up to date.
//
// The aggregation and the report writer run on the GUI thread without pumping messages, so
// every visible change is forced by an immediate repaint. Stepping a bar repaints it, and
// bringing the window to the front and repainting it take far longer than a unit of work. So
// the steps are counted as they come and handed to the bars in one batch at each refresh, and a
// refresh (bars, front, repaint) runs at most once per refresh interval, about 60 times a
// second, and never takes more than a tenth of the time on a slow display. Caption changes are
// made as they come. Every step reaches its bar, so the bars show exact positions whenever the
// window is drawn, and each stage ends with the window up to date.
#pragma once

#include "aggregate/progress.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// The window operations, as the progress dialog performs them.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    // Main bar: range 0..1000, step 1, position 0.
    virtual void StartMainBar() = 0;
    // mainSteps steps of the main bar; when restartActivity, the activity bar back to range
    // 0..5, step 1, position 0; then activitySteps steps of the activity bar.
    virtual void UpdateBars(int mainSteps, bool restartActivity, int activitySteps) = 0;
    // Top of the window order, then the foreground window.
    virtual void BringToFront() = 0;
    virtual void RepaintNow() = 0;
};

class ProgressController : public ProgressSink {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // About 60 refreshes a second.
    static constexpr std::chrono::microseconds kRefreshInterval{16667};
    static constexpr int kActivitySteps = 6;
    // A refresh that took t waits at least this many times t before the next one.
    static constexpr int kSlowRefreshFactor = 10;

    // A zero interval refreshes at every step, as the dialog did before the limit.
    explicit ProgressController(ProgressView& view,
                                std::chrono::nanoseconds refreshInterval = kRefreshInterval,
                                Clock clock = std::chrono::steady_clock::now)
        : view_(view), refreshInterval_(refreshInterval), clock_(std::move(clock)) {}

    void ResetMainBar() override;
    // For each value from start to end (both included): the caption when the value is a
    // multiple of ten, one step of the main bar, an activity run and a repaint.
    void AdvanceTo(std::int16_t start, std::int16_t end) override;
    // Six steps of the activity bar from empty, each followed by bringing the window to the
    // front and repainting it.
    void ActivityTick() override;

  private:
    // Refreshes the window when the interval since the last refresh has passed; otherwise
    // remembers that a refresh is owed.
    void RefreshIfDue(bool toFront);
    void Refresh(bool toFront);

    ProgressView& view_;
    std::chrono::nanoseconds refreshInterval_;
    Clock clock_;
    bool refreshed_ = false;
    bool owed_ = false;
    std::chrono::steady_clock::time_point nextRefresh_{};
    // Steps not yet handed to the bars.
    int mainSteps_ = 0;
    bool restartActivity_ = false;
    int activitySteps_ = 0;
};
