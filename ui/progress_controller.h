// What the progress dialog does on each call of the aggregation and the report writer, apart
// from the window itself: the caption "集計中 n％" at every tenth of the main scale, the steps of
// both bars, and how often the costly window operations run.
//
// The aggregation and the report writer run on the GUI thread without pumping messages, so
// every visible change is forced by an immediate repaint. Bringing the window to the front and
// repainting it take far longer than a unit of work: they run at most once per refresh interval
// (about 60 times a second), while every caption change and every step of the bars happens as
// it comes, so the window always shows exact values when it is drawn.
#pragma once

#include "ui/progress.h"

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
    virtual void StepMainBar() = 0;
    // Activity bar: range 0..5, step 1, position 0.
    virtual void StartActivityBar() = 0;
    virtual void StepActivityBar() = 0;
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

    // A zero interval refreshes at every step, as the dialog did before the limit.
    explicit ProgressController(ProgressView& view,
                                std::chrono::nanoseconds refreshInterval = kRefreshInterval,
                                Clock clock = std::chrono::steady_clock::now)
        : view_(view), refreshInterval_(refreshInterval), clock_(std::move(clock)) {}

    void ResetMainBar() override;
    // For each value from start to end (both included): the caption when the value is a
    // multiple of ten, one step of the main bar, an activity run and a repaint. A repaint left
    // out by the limit is made up at the end, so each stage ends on screen as it is.
    void AdvanceTo(std::int16_t start, std::int16_t end) override;
    // Six steps of the activity bar from empty, each followed by bringing the window to the
    // front and repainting it.
    void ActivityTick() override;

  private:
    // True when the refresh interval has passed since the last refresh (which it then starts
    // again); otherwise remembers that a refresh is owed.
    bool RefreshDue();

    ProgressView& view_;
    std::chrono::nanoseconds refreshInterval_;
    Clock clock_;
    bool refreshed_ = false;
    bool owed_ = false;
    std::chrono::steady_clock::time_point lastRefresh_{};
};
