#include "ui/progress_controller.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstdio>

void ProgressController::ResetMainBar() {
    mainSteps_ = 0;
    view_.StartMainBar();
}

void ProgressController::AdvanceTo(std::int16_t start, std::int16_t end) {
    for (int value = start; value <= end; ++value) {
        if (value % 10 == 0) {
            char caption[64];
            std::snprintf(caption, sizeof caption, texts::kProgressCaptionFormat, value / 10);
            view_.SetCaption(caption);
        }
        ++mainSteps_;
        ActivityTick();
        RefreshIfDue(false);
    }
    if (owed_)
        Refresh(false);
}

void ProgressController::ActivityTick() {
    restartActivity_ = true;
    activitySteps_ = 0;
    for (int step = 0; step < kActivitySteps; ++step) {
        ++activitySteps_;
        RefreshIfDue(true);
    }
}

void ProgressController::RefreshIfDue(bool toFront) {
    if (refreshInterval_ == std::chrono::nanoseconds::zero()) {
        Refresh(toFront);
        return;
    }
    const auto start = clock_();
    if (refreshed_ && start < nextRefresh_) {
        owed_ = true;
        return;
    }
    Refresh(toFront);
    const auto end = clock_();
    nextRefresh_ = std::max(start + refreshInterval_, end + kSlowRefreshFactor * (end - start));
}

void ProgressController::Refresh(bool toFront) {
    if (mainSteps_ != 0 || restartActivity_ || activitySteps_ != 0)
        view_.UpdateBars(mainSteps_, restartActivity_, activitySteps_);
    mainSteps_ = 0;
    restartActivity_ = false;
    activitySteps_ = 0;
    if (toFront)
        view_.BringToFront();
    view_.RepaintNow();
    refreshed_ = true;
    owed_ = false;
}
