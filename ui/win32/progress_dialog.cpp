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

} // namespace

ClProgressDlg::ClProgressDlg(std::chrono::nanoseconds refreshInterval)
    : controller_(*this, refreshInterval) {}

bool ClProgressDlg::Create(HWND parent) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
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

void ClProgressDlg::StartActivityBar() {
    SetUpBar(activityBar_, kActivityBarEnd);
}

void ClProgressDlg::BringToFront() {
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(Handle());
}
