#include "ui/win32/progress_dialog.h"

#include "ui/resources/progress_ids.h"

#include <commctrl.h>

namespace {

constexpr int kMainBarEnd = 1000;
constexpr int kActivityBarEnd = 5;

void SetUpBar(const win::Window& bar, int end) {
    bar.SendMsg(PBM_SETRANGE, 0, MAKELPARAM(0, end));
    bar.SendMsg(PBM_SETSTEP, 1);
    bar.SendMsg(PBM_SETPOS, 0);
}

// Each step would repaint the bar at once: the bar takes the whole batch without drawing and
// is drawn once at the next repaint.
void StepBar(const win::Window& bar, bool restart, int end, int steps) {
    if (!restart && steps == 0)
        return;
    bar.SendMsg(WM_SETREDRAW, FALSE);
    if (restart)
        SetUpBar(bar, end);
    for (int step = 0; step < steps; ++step)
        bar.SendMsg(PBM_STEPIT);
    bar.SendMsg(WM_SETREDRAW, TRUE);
    ::InvalidateRect(bar.Handle(), nullptr, TRUE);
}

} // namespace

ClProgressDlg::ClProgressDlg(std::chrono::nanoseconds refreshInterval)
    : controller_(*this, refreshInterval) {}

bool ClProgressDlg::Create(HWND parent) {
    return ModelessDialog::Create(IDD_PROGRESS, parent);
}

bool ClProgressDlg::OnInit() {
    mainBar_ = Item(IDC_PROGRESS_MAIN);
    activityBar_ = Item(IDC_PROGRESS_ACTIVITY);
    return true;
}

void ClProgressDlg::StartMainBar() {
    SetUpBar(mainBar_, kMainBarEnd);
}

void ClProgressDlg::UpdateBars(int mainSteps, bool restartActivity, int activitySteps) {
    StepBar(mainBar_, false, kMainBarEnd, mainSteps);
    StepBar(activityBar_, restartActivity, kActivityBarEnd, activitySteps);
}

void ClProgressDlg::BringToFront() {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(Handle());
}

void ClProgressDlg::RepaintNow() {
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}
