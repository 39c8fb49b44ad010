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
// is drawn once at the next repaint. The batch is one move to where its steps of 1 lead, a step
// past the end starting the bar over from 0, as PBM_STEPIT does: a message per step costs a
// tenth of a millisecond under Wine, a thousand of them per run.
void StepBar(const win::Window& bar, bool restart, int end, int steps) {
    if (!restart && steps == 0)
        return;
    bar.SendMsg(WM_SETREDRAW, FALSE);
    if (restart)
        SetUpBar(bar, end);
    const LRESULT position = bar.SendMsg(PBM_GETPOS);
    bar.SendMsg(PBM_SETPOS, static_cast<WPARAM>((position + steps) % (end + 1)));
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
    win::DrawClassic(mainBar_.Handle());
    win::DrawClassic(activityBar_.Handle());
    return true;
}

// The new caption is drawn with the rest of the window at the next repaint: setting the text of a
// window that draws would draw its caption at once, over a hundred times a run (half a
// millisecond each under Wine).
void ClProgressDlg::SetCaption(const std::string& caption) {
    SendMsg(WM_SETREDRAW, FALSE);
    SetText(caption);
    SendMsg(WM_SETREDRAW, TRUE);
    captionChanged_ = true;
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
    const UINT caption = captionChanged_ ? RDW_FRAME | RDW_INVALIDATE : 0;
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | caption);
    captionChanged_ = false;
}
