// The progress dialog's behaviour behind its window: captions, step counts and the limit on
// the costly window operations.
#include "ui/progress_controller.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class RecordingView : public ProgressView {
  public:
    void SetCaption(const std::string& caption) override {
        captions.push_back(caption);
        Log("caption " + caption);
    }
    void StartMainBar() override {
        mainPosition = 0;
        Log("main reset");
    }
    void StepMainBar() override {
        ++mainSteps;
        ++mainPosition;
        Log("main step");
    }
    void StartActivityBar() override {
        activityPosition = 0;
        Log("activity reset");
    }
    void StepActivityBar() override {
        ++activityPosition;
        Log("activity step");
    }
    void BringToFront() override {
        ++fronts;
        Log("front");
    }
    void RepaintNow() override {
        ++repaints;
        Log("repaint");
    }

    void Log(const std::string& entry) {
        if (keepLog)
            log.push_back(entry);
    }

    bool keepLog = true;
    std::vector<std::string> log;
    std::vector<std::string> captions;
    int mainSteps = 0;
    int mainPosition = 0;
    int activityPosition = 0;
    int fronts = 0;
    int repaints = 0;
};

// A clock that moves only when told to.
struct ManualClock {
    steady_clock::time_point now{};
    ProgressController::Clock Function() {
        return [this] { return now; };
    }
};

// The stages of a complete run: the aggregation's five and the report writer's three.
void RunAllStages(ProgressSink& progress) {
    progress.ResetMainBar();
    for (int stage = 0; stage < 5; ++stage)
        progress.AdvanceTo(static_cast<std::int16_t>(stage * 100),
                           static_cast<std::int16_t>(stage * 100 + 100));
    progress.AdvanceTo(500, 600);
    progress.AdvanceTo(600, 700);
    progress.AdvanceTo(700, 1000);
}

} // namespace

TEST(ProgressController, OneValueIsOneStepWithAnActivityRunAndARepaint) {
    RecordingView view;
    ProgressController progress(view, steady_clock::duration::zero());
    progress.AdvanceTo(10, 10);
    const std::vector<std::string> oneValue = {
        "caption 集計中 1％", "main step", "activity reset", "activity step", "front", "repaint",
        "activity step",      "front",     "repaint",        "activity step", "front", "repaint",
        "activity step",      "front",     "repaint",        "activity step", "front", "repaint",
        "activity step",      "front",     "repaint",        "repaint"};
    EXPECT_EQ(oneValue, view.log);

    view.log.clear();
    progress.AdvanceTo(15, 15);
    EXPECT_EQ(1u, view.captions.size()) << "no caption for 15";
    EXPECT_EQ(2, view.mainSteps);
    EXPECT_EQ(6, view.activityPosition);
}

TEST(ProgressController, ACompleteRunSteps1008TimesWithACaptionAtEveryTenth) {
    RecordingView view;
    view.keepLog = false;
    ManualClock clock;
    ProgressController progress(view, ProgressController::kRefreshInterval, clock.Function());
    RunAllStages(progress);

    EXPECT_EQ(1008, view.mainSteps);
    ASSERT_EQ(108u, view.captions.size());
    EXPECT_EQ("集計中 0％", view.captions.front());
    EXPECT_EQ("集計中 1％", view.captions[1]);
    // 100 ends one stage and starts the next.
    EXPECT_EQ("集計中 10％", view.captions[10]);
    EXPECT_EQ("集計中 10％", view.captions[11]);
    EXPECT_EQ("集計中 11％", view.captions[12]);
    EXPECT_EQ("集計中 100％", view.captions.back());
}

TEST(ProgressController, CostlyOperationsRunAtMostOncePerIntervalAndStagesEndRepainted) {
    RecordingView view;
    view.keepLog = false;
    ManualClock clock;
    ProgressController progress(view, milliseconds(16), clock.Function());

    // Work that takes no time at all: one refresh at the start, one made up per stage.
    RunAllStages(progress);
    EXPECT_EQ(1, view.fronts);
    EXPECT_EQ(1 + 8, view.repaints);
    EXPECT_EQ(1008, view.mainSteps);

    // Each tick a millisecond of work: a refresh every 16 ticks.
    view.fronts = 0;
    view.repaints = 0;
    clock.now += milliseconds(16);
    for (int tick = 0; tick < 1600; ++tick) {
        progress.ActivityTick();
        clock.now += milliseconds(1);
    }
    EXPECT_EQ(100, view.fronts);
    EXPECT_EQ(100, view.repaints);
    EXPECT_EQ(6, view.activityPosition);

    // After a pause the next tick refreshes at once, and only once.
    view.fronts = 0;
    clock.now += milliseconds(500);
    progress.ActivityTick();
    EXPECT_EQ(1, view.fronts);
}

TEST(ProgressController, WithoutALimitEveryStepRefreshes) {
    RecordingView view;
    view.keepLog = false;
    ProgressController progress(view, steady_clock::duration::zero());
    RunAllStages(progress);
    EXPECT_EQ(1008 * 6, view.fronts);
    EXPECT_EQ(1008 * 7, view.repaints);
}
