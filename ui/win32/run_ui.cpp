#include "ui/win32/run_ui.h"

#include "ui/win32/condition_sheet.h"
#include "ui/win32/progress_dialog.h"

#include <utility>

namespace {

class Win32ProgressWindow : public ProgressWindow {
  public:
    bool Open(HWND hostWnd) {
        if (!dialog_.Create(nullptr))
            return false;
        // A host-started run shows its progress inside the host's window.
        if (hostWnd != nullptr)
            ::SetParent(dialog_.Handle(), hostWnd);
        dialog_.Show(SW_SHOW);
        ::UpdateWindow(dialog_.Handle());
        return true;
    }

    platform::WindowHandle Window() const override { return dialog_.Handle(); }
    void Close() override { dialog_.Hide(); }
    void ResetMainBar() override { dialog_.ResetMainBar(); }
    void AdvanceTo(std::int16_t start, std::int16_t end) override { dialog_.AdvanceTo(start, end); }
    void ActivityTick() override { dialog_.ActivityTick(); }

  private:
    ClProgressDlg dialog_;
};

} // namespace

SheetOutcome Win32RunUi::RunConditionSheet(platform::Host& host, const AccountCatalogue& accounts,
                                           const ConditionSheetRequest& request,
                                           AggregationConditions& conditions) {
    ClConditionEntrySheet sheet(request.caption, static_cast<HWND>(request.owner), 0, request.form,
                                host, accounts, desktop_, files_,
                                {request.defaultMappingPath, request.formItemPath});
    sheet.Conditions() = std::move(conditions);
    sheet.Page1().companyText = request.companyText;
    sheet.Page1().periodText = request.periodText;
    const int result = sheet.DoModal();
    SheetOutcome outcome = SheetOutcomeOf(result, sheet.Cause());
    conditions = std::move(sheet.Conditions());
    return outcome;
}

std::unique_ptr<ProgressWindow> Win32RunUi::OpenProgress(platform::WindowHandle hostWnd) {
    auto window = std::make_unique<Win32ProgressWindow>();
    if (!window->Open(static_cast<HWND>(hostWnd)))
        return nullptr;
    return window;
}
