// Property pages (dialogs plus a small PSN_* shim) and a modeless property sheet built from
// page objects that outlive it, run modally by a loop of its own.
#pragma once

#include "ui/win32/dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace win {

// Control ID of a property sheet's Apply button, which the common controls create without
// naming it in their headers.
constexpr int kApplyButtonId = 12321;

class PropertyPage : public Dialog {
  public:
    explicit PropertyPage(int templateId) : templateId_(templateId) {}
    int TemplateId() const { return templateId_; }

    // The control that takes the focus when the page is shown: its first tab stop that is
    // visible and enabled; null when it has none.
    HWND FocusTarget() const;

  protected:
    // PSN_SETACTIVE: the page is about to be shown.
    virtual void OnSetActive() {}
    // Subclasses that handle notifications of their own call this first.
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

  private:
    friend class PropertySheet;
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
};

class PropertySheet : public Window {
  public:
    PropertySheet() = default;
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;
    virtual ~PropertySheet();

    // Pages are shown in the order they are added; they run in the sheet's modal loop.
    void AddPage(PropertyPage& page) {
        page.SetLoop(&loop_);
        pages_.push_back(&page);
    }
    // Creates the sheet without its system menu; OnCreated runs before this returns, unless a
    // page failed while it was created (RunModal then throws that failure at once).
    bool Create(HWND owner, const std::string& caption, int startPage);
    // Runs until EndModal with the owner disabled; every queued message passes the active
    // page's and then the sheet's PreTranslate before the sheet's own dialog handling.
    // Destroys the window before it returns.
    int RunModal(HWND owner);
    void EndModal(int result);

    int ActiveIndex() const;
    PropertyPage* ActivePage() const;
    void SetActivePage(int index) const;

    virtual bool PreTranslate(MSG& message) {
        (void)message;
        return false;
    }

  protected:
    // Grows the sheet when a page's template, in the page's own font, needs more room than the
    // framework gave it (it measures pages in its own, smaller font). Call once every page has
    // its window.
    void FitPages();

    virtual void OnCreated() {}
    // Messages of the sheet window itself before the framework's procedure sees them.
    virtual bool OnSheetMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }
    virtual void OnSheetDestroy() {}

  private:
    static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void DispatchModal(MSG& message);
    // After whatever changed the page (a bar button, a key, a tab click, Ctrl+Tab): the focus
    // goes into the page now shown, once per change.
    void FollowShownPage();
    // The focus to the shown page's target, or to the tabs when the page has none.
    void FocusShownPage() const;
    // True for a key message whose window the user cannot see or use: it is dropped, and the
    // focus, if it is there too, goes to the shown page.
    bool DropKeyOutOfView(const MSG& message) const;

    std::vector<PropertyPage*> pages_;
    int focusedPage_ = -1;
    WNDPROC frameworkProc_ = nullptr;
    ModalLoop loop_;
};

} // namespace win
