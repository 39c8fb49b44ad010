#include "ui/progress_controller.h"

#include <cstdio>

namespace {

const char kCaptionFormat[] = "集計中 %d％";

} // namespace

void ProgressController::ResetMainBar() {
    view_.StartMainBar();
}

void ProgressController::AdvanceTo(std::int16_t start, std::int16_t end) {
    for (int value = start; value <= end; ++value) {
        if (value % 10 == 0) {
            char caption[64];
            std::snprintf(caption, sizeof caption, kCaptionFormat, value / 10);
            view_.SetCaption(caption);
        }
        view_.StepMainBar();
        ActivityTick();
        if (RefreshDue())
            view_.RepaintNow();
    }
    if (owed_) {
        view_.RepaintNow();
        owed_ = false;
        lastRefresh_ = clock_();
    }
}

void ProgressController::ActivityTick() {
    view_.StartActivityBar();
    for (int step = 0; step < kActivitySteps; ++step) {
        view_.StepActivityBar();
        if (RefreshDue()) {
            view_.BringToFront();
            view_.RepaintNow();
        }
    }
}

bool ProgressController::RefreshDue() {
    const auto now = clock_();
    if (refreshed_ && now - lastRefresh_ < refreshInterval_) {
        owed_ = true;
        return false;
    }
    refreshed_ = true;
    owed_ = false;
    lastRefresh_ = now;
    return true;
}
