#include "ui/win32/property_sheet.h"

#include "ui/sheet_layout.h"

#include <vector>

namespace win {

namespace {

const char kSheetProperty[] = "OvwPropertySheet";

// The sheet's dialog template arrives before creation: without WS_SYSMENU the sheet has no
// system menu and no close box.
int CALLBACK SheetCallback(HWND, UINT message, LPARAM lParam) {
    if (message == PSCB_PRECREATE && lParam != 0) {
        auto* bytes = reinterpret_cast<BYTE*>(lParam);
        auto* style = reinterpret_cast<DWORD*>(bytes + layout::TemplateStyleOffset(bytes));
        *style &= ~static_cast<DWORD>(WS_SYSMENU);
    }
    return 0;
}

// Messages after which the framework may show another page: a page chosen by a message, a
// key it takes as a dialog message (Ctrl+Tab, Ctrl+Page Down), a click on a tab.
bool MayChangePage(UINT message, LPARAM lParam) {
    switch (message) {
    case PSM_SETCURSEL:
    case PSM_SETCURSELID:
    case PSM_ISDIALOGMESSAGE:
        return true;
    case WM_NOTIFY:
        return lParam != 0 &&
               reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE);
    default:
        return false;
    }
}

} // namespace

bool PropertyPage::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.code != PSN_SETACTIVE)
        return false;
    OnSetActive();
    result = 0;
    return true;
}

HWND PropertyPage::FocusTarget() const {
    const HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (first == nullptr || !::IsWindowVisible(first) || !::IsWindowEnabled(first))
        return nullptr;
    return first;
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // A page receives its PROPSHEETPAGE; the object travels in its lParam.
        auto* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        return DialogProc(window, message, wParam, page->lParam);
    }
    return DialogProc(window, message, wParam, lParam);
}

PropertySheet::~PropertySheet() {
    if (IsValid())
        ::DestroyWindow(Handle());
}

bool PropertySheet::Create(HWND owner, const std::string& caption, int startPage) {
    std::vector<PROPSHEETPAGEA> descriptions(pages_.size());
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        PROPSHEETPAGEA& page = descriptions[i];
        page.dwSize = sizeof page;
        page.hInstance = ::GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(pages_[i]->TemplateId());
        page.pfnDlgProc = PropertyPage::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(static_cast<Dialog*>(pages_[i]));
    }
    // The start-up may already end the modal run it precedes.
    loop_.Reset();
    focusedPage_ = -1;
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(descriptions.size());
    header.nStartPage = static_cast<UINT>(startPage);
    header.ppsp = descriptions.data();
    header.pfnCallback = SheetCallback;
    const INT_PTR created = ::PropertySheetA(&header);
    if (created <= 0) {
        loop_.ThrowFailure();
        return false;
    }
    Attach(reinterpret_cast<HWND>(created));
    DrawClassic(PropSheet_GetTabControl(Handle()));
    ::SetPropA(Handle(), kSheetProperty, this);
    frameworkProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetProc)));
    // A page that failed while the framework created it has ended the run already: nothing
    // starts on a sheet that failed, and RunModal destroys it and throws the failure.
    if (!loop_.Ended())
        OnCreated();
    return true;
}

LRESULT CALLBACK PropertySheet::SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sheet = static_cast<PropertySheet*>(::GetPropA(window, kSheetProperty));
    if (sheet == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC frameworkProc = sheet->frameworkProc_;
    try {
        LRESULT result = 0;
        if (message == WM_DESTROY)
            sheet->OnSheetDestroy();
        else if (sheet->OnSheetMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        sheet->loop_.Fail(std::current_exception());
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropA(window, kSheetProperty);
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameworkProc));
        sheet->Attach(nullptr);
        return ::CallWindowProcA(frameworkProc, window, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcA(frameworkProc, window, message, wParam, lParam);
    if (MayChangePage(message, lParam))
        sheet->FollowShownPage();
    return result;
}

void PropertySheet::FollowShownPage() {
    const int shown = ActiveIndex();
    if (shown < 0 || shown == focusedPage_)
        return;
    focusedPage_ = shown;
    FocusShownPage();
}

void PropertySheet::FocusShownPage() const {
    const PropertyPage* page = ActivePage();
    HWND target = page != nullptr ? page->FocusTarget() : nullptr;
    if (target == nullptr)
        target = PropSheet_GetTabControl(Handle());
    ::SetFocus(target);
    // As the dialog manager does when Tab reaches an edit: its whole text selected.
    if ((::SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        ::SendMessageA(target, EM_SETSEL, 0, -1);
}

bool PropertySheet::DropKeyOutOfView(const MSG& message) const {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    if (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd))
        return false;
    if (::IsWindowVisible(message.hwnd) && ::IsWindowEnabled(message.hwnd))
        return false;
    // A key left over for a page that is no longer shown (typed before the page changed), or
    // for a control that was disabled meanwhile. It counts for nothing: the dialog manager's
    // search for an access key, which starts at the key's window and ends when it comes back to
    // it, would never come back from inside a hidden page.
    const HWND focus = ::GetFocus();
    if (focus == nullptr || !::IsWindowVisible(focus) || !::IsWindowEnabled(focus))
        FocusShownPage();
    return true;
}

void PropertySheet::DispatchModal(MSG& message) {
    if (DropKeyOutOfView(message))
        return;
    PropertyPage* page = ActivePage();
    if (page != nullptr && page->PreTranslate(message))
        return;
    if (PreTranslate(message))
        return;
    if (PropSheet_IsDialogMessage(Handle(), &message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
}

int PropertySheet::RunModal(HWND owner) {
    return static_cast<int>(
        loop_.Run(owner, Handle(), [this](MSG& message) { DispatchModal(message); }));
}

void PropertySheet::EndModal(int result) {
    loop_.End(result);
}

namespace {

// Width and height of a dialog template in dialog units; 0, 0 when it cannot be read.
layout::Extent TemplateSize(int templateId) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const auto* bytes =
        loaded != nullptr ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
    return layout::TemplateSize(bytes, found != nullptr ? ::SizeofResource(module, found) : 0);
}

void Grow(HWND window, int dx, int dy) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void PropertySheet::FitPages() {
    const PropertyPage* active = ActivePage();
    if (active == nullptr)
        return;
    const RECT area = active->RectIn(Handle());
    std::vector<layout::Extent> needed;
    for (const PropertyPage* page : pages_) {
        const layout::Extent units = TemplateSize(page->TemplateId());
        RECT pixels = {0, 0, units.width, units.height};
        ::MapDialogRect(page->Handle(), &pixels);
        needed.push_back({static_cast<int>(pixels.right), static_cast<int>(pixels.bottom)});
    }
    const layout::Extent growth = layout::GrowthToFit(
        {static_cast<int>(area.right - area.left), static_cast<int>(area.bottom - area.top)},
        needed);
    const int dx = growth.width;
    const int dy = growth.height;
    if (dx == 0 && dy == 0)
        return;
    Grow(Handle(), dx, dy);
    Grow(PropSheet_GetTabControl(Handle()), dx, dy);
    for (const PropertyPage* page : pages_)
        Grow(page->Handle(), dx, dy);
    // The framework's buttons keep their place at the bottom right.
    for (int id : {IDOK, IDCANCEL, IDHELP, kApplyButtonId}) {
        const Window button = Item(id);
        if (button.Handle() == nullptr)
            continue;
        const RECT rect = button.RectIn(Handle());
        ::SetWindowPos(button.Handle(), nullptr, rect.left + dx, rect.top + dy, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int PropertySheet::ActiveIndex() const {
    HWND current = PropSheet_GetCurrentPageHwnd(Handle());
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i]->Handle() == current && current != nullptr)
            return static_cast<int>(i);
    return -1;
}

PropertyPage* PropertySheet::ActivePage() const {
    const int index = ActiveIndex();
    return index < 0 ? nullptr : pages_[static_cast<std::size_t>(index)];
}

void PropertySheet::SetActivePage(int index) const {
    PropSheet_SetCurSel(Handle(), nullptr, index);
}

} // namespace win
