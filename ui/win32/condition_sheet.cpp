#include "ui/win32/condition_sheet.h"

#include "texts/catalogue.h"
#include "ui/resources/sheet_ids.h"
#include "ui/win32/keys.h"

namespace {

// The framework's own buttons, hidden in favour of the bar.
const int kFrameworkButtons[] = {IDOK, IDCANCEL, win::kApplyButtonId};

struct BarButton {
    int id;
    const char* caption;
};
const BarButton kBarButtons[] = {
    {IDC_SHEET_PREVIOUS, texts::kPreviousCaption},
    {IDC_SHEET_NEXT, texts::kNextCaption},
    {IDC_SHEET_EXECUTE, texts::kExecuteCaption},
    {IDC_SHEET_CANCEL, texts::kCancelCaption},
};

} // namespace

ClConditionEntrySheet::ClConditionEntrySheet(std::string caption, HWND parent, int firstPage,
                                             FormGeneration form, platform::Host& host,
                                             const AccountCatalogue& accounts,
                                             platform::Desktop& desktop,
                                             platform::FileSystem& files, DataFiles dataFiles)
    : caption_(std::move(caption)), parent_(parent), firstPage_(firstPage), host_(host),
      accounts_(accounts), desktop_(desktop), files_(files), dataFiles_(std::move(dataFiles)),
      controller_(host, accounts, desktop, files, conditions_, *this) {
    conditions_.form = form;
    AddPage(page1_);
    AddPage(Page2());
    AddPage(Page3());
}

ClConditionEntrySheet::~ClConditionEntrySheet() = default;

ClCEPage2& ClConditionEntrySheet::Page2() {
    return conditions_.form == FormGeneration::k30 ? static_cast<ClCEPage2&>(page2Rv30_) : page2_;
}

ClCEPage3& ClConditionEntrySheet::Page3() {
    return conditions_.form == FormGeneration::k30 ? static_cast<ClCEPage3&>(page3Rv30_) : page3_;
}

int ClConditionEntrySheet::DoModal() {
    int result = sheet::kNotShown;
    try {
        if (Create(parent_, caption_, firstPage_))
            result = RunModal(parent_);
    } catch (...) {
        // The exception is the news; the host's folders are still given back, and a failure of
        // that comes second to it.
        try {
            controller_.Finish();
        } catch (...) {
        }
        throw;
    }
    controller_.Finish();
    return result;
}

void ClConditionEntrySheet::OnCreated() {
    CreateButtonBar();

    page1_.SetSite(*this);
    Page2().SetSite(*this);
    Page3().SetSite(*this);
    // Every page creates its controls when first activated.
    SetActivePage(2);
    SetActivePage(1);
    SetActivePage(0);
    FitPages();

    if (!controller_.StartUp(dataFiles_.defaultMappingPath))
        return;

    page1_.FillFromConditions(conditions_.outputPathFixed != 0);
    page1_.FocusEndMonth();

    if (!controller_.LoadFormItems(dataFiles_.formItemPath))
        return;
    SetUpItemCaptions(Page2(), Page3(), *conditions_.statementLines, conditions_.equityLabel);
    Page2().SetUpTips(false);
    Page3().SetUpTips(false);

    for (int id : kFrameworkButtons)
        Item(id).Show(SW_HIDE);
    LayOutButtonBar();
}

void ClConditionEntrySheet::CreateButtonBar() {
    for (const BarButton& button : kBarButtons)
        ::CreateWindowExA(0, "BUTTON", button.caption,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 75, 23,
                          Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                          ::GetModuleHandleA(nullptr), nullptr);
}

void ClConditionEntrySheet::LayOutButtonBar() {
    const RECT client = ClientRect();
    const sheet::ButtonBar bar =
        sheet::LayOutButtonBar(client.right - client.left, client.bottom - client.top);
    const RECT apply = Item(win::kApplyButtonId).RectIn(Handle());
    const int height = apply.bottom - apply.top;
    const HFONT font = Item(IDOK).Font();
    const std::pair<int, sheet::ButtonPlace> places[] = {
        {IDC_SHEET_PREVIOUS, bar.previous},
        {IDC_SHEET_NEXT, bar.next},
        {IDC_SHEET_EXECUTE, bar.execute},
        {IDC_SHEET_CANCEL, bar.cancel},
    };
    for (const auto& [id, place] : places) {
        const win::Window button = Item(id);
        button.Move(place.left, bar.top, place.width, height);
        button.SetFont(font);
        button.Show(SW_SHOW);
    }
}

void ClConditionEntrySheet::ShowNavigationFor(int pageIndex) const {
    const sheet::NavigationButtons buttons = sheet::NavigationFor(pageIndex);
    Item(IDC_SHEET_PREVIOUS).Enable(buttons.previousEnabled);
    Item(IDC_SHEET_NEXT).Enable(buttons.nextEnabled);
}

void ClConditionEntrySheet::Go(int pageIndex) {
    if (pageIndex != ActiveIndex())
        SetActivePage(pageIndex);
}

bool ClConditionEntrySheet::RunCommand(int command) {
    switch (command) {
    case sheet::kExecute:
        controller_.Execute();
        return true;
    case sheet::kCancel:
        controller_.Cancel();
        return true;
    case sheet::kNext:
        Go(sheet::NextPage(ActiveIndex()));
        return true;
    case sheet::kPrevious:
        Go(sheet::PreviousPage(ActiveIndex()));
        return true;
    default:
        return false;
    }
}

bool ClConditionEntrySheet::OnSheetMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return false;
        // The framework's OK and Cancel are hidden; whatever still sends them (a close
        // request from outside) goes the way of the bar's Cancel, which asks first.
        if (LOWORD(wParam) == IDOK)
            return true;
        if (LOWORD(wParam) == IDCANCEL)
            return RunCommand(sheet::kCancel);
        return RunCommand(LOWORD(wParam));
    case WM_CLOSE:
        return RunCommand(sheet::kCancel);
    case WM_SYSCOMMAND:
        return (wParam & 0xFFF0) == SC_CLOSE;
    default:
        return false;
    }
}

void ClConditionEntrySheet::OnSheetDestroy() {
    conditions_.defaultMappings.clear();
}

bool ClConditionEntrySheet::PreTranslate(MSG& message) {
    const UINT kind = message.message;
    const bool isKey = win::IsKeyMessage(kind);
    const sheet::Modifiers modifiers = win::HeldModifiers();
    int focusedCommand = 0;
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::GetParent(focus) == Handle())
        focusedCommand = ::GetDlgCtrlID(focus);
    switch (sheet::DecideKey(isKey, kind == WM_KEYDOWN, static_cast<unsigned>(message.wParam),
                             modifiers, focusedCommand)) {
    case sheet::KeyAction::PassOn:
        return false;
    case sheet::KeyAction::Swallow:
        return true;
    case sheet::KeyAction::Previous:
        return RunCommand(sheet::kPrevious);
    case sheet::KeyAction::Next:
        return RunCommand(sheet::kNext);
    case sheet::KeyAction::Execute:
        return RunCommand(sheet::kExecute);
    case sheet::KeyAction::Cancel:
        return RunCommand(sheet::kCancel);
    }
    return false;
}

void ClConditionEntrySheet::FocusEndMonth() {
    Go(0);
    page1_.FocusEndMonth();
}

void ClConditionEntrySheet::FocusOutputPath() {
    Go(0);
    page1_.FocusOutputPath();
}

void ClConditionEntrySheet::BrowseOutputFile() {
    Go(0);
    page1_.BrowseOutputFile();
}
