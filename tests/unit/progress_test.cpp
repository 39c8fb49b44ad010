// The progress dialog's behaviour behind its window: captions, step counts and the limit on
// the costly window operations.
#include "ui/progress_controller.h"

#include "support/dialog_template.h"
#include "ui/resources/progress_ids.h"

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
        Log("main start");
    }
    void UpdateBars(int mainSteps, bool restartActivity, int activitySteps) override {
        mainPosition += mainSteps;
        if (restartActivity)
            activityPosition = 0;
        activityPosition += activitySteps;
        ++barUpdates;
        Log("bars " + std::to_string(mainSteps) + (restartActivity ? " restart " : " ") +
            std::to_string(activitySteps));
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
    int barUpdates = 0;
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

TEST(ProgressController, WithoutALimitEachStepIsShownAndFollowedByFrontAndRepaint) {
    RecordingView view;
    ProgressController progress(view, steady_clock::duration::zero());
    progress.AdvanceTo(10, 10);
    const std::vector<std::string> oneValue = {"caption 集計中 1％",
                                               "bars 1 restart 1",
                                               "front",
                                               "repaint",
                                               "bars 0 1",
                                               "front",
                                               "repaint",
                                               "bars 0 1",
                                               "front",
                                               "repaint",
                                               "bars 0 1",
                                               "front",
                                               "repaint",
                                               "bars 0 1",
                                               "front",
                                               "repaint",
                                               "bars 0 1",
                                               "front",
                                               "repaint",
                                               "repaint"};
    EXPECT_EQ(oneValue, view.log);

    progress.AdvanceTo(15, 15);
    EXPECT_EQ(1u, view.captions.size()) << "no caption for 15";
    EXPECT_EQ(2, view.mainPosition);
    EXPECT_EQ(6, view.activityPosition);

    view.keepLog = false;
    view.fronts = 0;
    view.repaints = 0;
    progress.ResetMainBar();
    RunAllStages(progress);
    EXPECT_EQ(1008, view.mainPosition);
    EXPECT_EQ(1008 * 6, view.fronts);
    EXPECT_EQ(1008 * 7, view.repaints);
}

TEST(ProgressController, ACompleteRunSteps1008TimesWithACaptionAtEveryTenth) {
    RecordingView view;
    view.keepLog = false;
    ManualClock clock;
    ProgressController progress(view, ProgressController::kRefreshInterval, clock.Function());
    progress.ResetMainBar();
    RunAllStages(progress);

    EXPECT_EQ(1008, view.mainPosition);
    EXPECT_EQ(6, view.activityPosition);
    ASSERT_EQ(108u, view.captions.size());
    EXPECT_EQ("集計中 0％", view.captions.front());
    EXPECT_EQ("集計中 1％", view.captions[1]);
    // 100 ends one stage and starts the next.
    EXPECT_EQ("集計中 10％", view.captions[10]);
    EXPECT_EQ("集計中 10％", view.captions[11]);
    EXPECT_EQ("集計中 11％", view.captions[12]);
    EXPECT_EQ("集計中 100％", view.captions.back());
}

TEST(ProgressController, RefreshesAtMostOncePerIntervalAndEachStageEndsUpToDate) {
    RecordingView view;
    ManualClock clock;
    ProgressController progress(view, milliseconds(16), clock.Function());

    // Work that takes no time at all: one refresh at the first step, then one owed per stage.
    progress.AdvanceTo(0, 100);
    EXPECT_EQ(1, view.fronts);
    EXPECT_EQ(2, view.repaints);
    EXPECT_EQ(101, view.mainPosition) << "the stage ends with every step shown";
    EXPECT_EQ(6, view.activityPosition);
    EXPECT_EQ("bars 100 restart 6", view.log[view.log.size() - 2]);

    // A millisecond of work per tick: a refresh every 16 ticks.
    view.keepLog = false;
    view.fronts = 0;
    view.repaints = 0;
    clock.now += milliseconds(16);
    for (int tick = 0; tick < 1600; ++tick) {
        progress.ActivityTick();
        clock.now += milliseconds(1);
    }
    EXPECT_EQ(100, view.fronts);
    EXPECT_EQ(100, view.repaints);

    // After a pause the next tick refreshes at once, and only once.
    view.fronts = 0;
    clock.now += milliseconds(500);
    progress.ActivityTick();
    EXPECT_EQ(1, view.fronts);
}

TEST(ProgressController, ASlowDisplayGetsAtMostATenthOfTheTime) {
    // Each repaint takes 50 ms; the work between ticks 1 ms.
    struct SlowView : RecordingView {
        ManualClock* clock = nullptr;
        void RepaintNow() override {
            RecordingView::RepaintNow();
            clock->now += milliseconds(50);
        }
    } view;
    view.keepLog = false;
    ManualClock clock;
    view.clock = &clock;
    ProgressController progress(view, milliseconds(16), clock.Function());
    const auto start = clock.now;
    for (int tick = 0; tick < 10000; ++tick) {
        progress.ActivityTick();
        clock.now += milliseconds(1);
    }
    const auto painting = (milliseconds(50) * view.repaints).count();
    const auto total = std::chrono::duration_cast<milliseconds>(clock.now - start).count();
    EXPECT_LE(painting * 10, total) << view.repaints << " repaints";
    EXPECT_GT(view.repaints, 10);
}

TEST(ProgressTemplate, HasTheCaptionSizeAndTheTwoBars) {
    const std::string folder = std::string(OVW_SOURCE_DIR) + "/ui/resources/";
    const auto dialog = testsupport::ReadDialogTemplate(
        folder + "progress.rc", testsupport::ReadIdHeader(folder + "progress_ids.h"), IDD_PROGRESS);
    EXPECT_EQ(133, dialog.id);
    EXPECT_EQ(u8"集計中", dialog.caption);
    EXPECT_EQ(221, dialog.width);
    EXPECT_EQ(45, dialog.height);
    ASSERT_EQ(2u, dialog.controls.size());
    const testsupport::TemplateControl* main = dialog.Find(1000);
    const testsupport::TemplateControl* activity = dialog.Find(1001);
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, activity);
    EXPECT_EQ((std::vector<int>{5, 6, 211, 22}),
              (std::vector<int>{main->left, main->top, main->width, main->height}));
    EXPECT_EQ((std::vector<int>{5, 29, 211, 10}),
              (std::vector<int>{activity->left, activity->top, activity->width, activity->height}));
    EXPECT_EQ("PBS_SMOOTH | WS_BORDER", main->style);
    EXPECT_EQ("WS_BORDER", activity->style);
}
