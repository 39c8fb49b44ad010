#include "ui/win32/page1.h"

#include "texts/catalogue.h"
#include "ui/condition_sheet_logic.h"
#include "ui/resources/page1_ids.h"
#include "ui/win32/keys.h"

#include <commdlg.h>

#include <vector>

namespace {

const char kBrowseFilter[] = "Xml Files (*.xml)\0*.xml\0";
const char kBrowseExtension[] = "XML";
const int kEndMonthLimit = 2;
const int kOutputPathLimit = 255;
// Room for whatever path the dialog returns, and never less than the text it starts with.
const std::size_t kBrowseBuffer = 32768;

} // namespace

ClCEPage1::ClCEPage1() : win::PropertyPage(IDD_PAGE1) {}

bool ClCEPage1::OnInit() {
    win::Edit(Item(IDC_P1_END_MONTH).Handle()).LimitText(kEndMonthLimit);
    win::Edit(Item(IDC_P1_OUTPUT_PATH).Handle()).LimitText(kOutputPathLimit);
    ShowValues();
    return true;
}

void ClCEPage1::ShowValues() {
    if (Handle() == nullptr)
        return;
    showing_ = true;
    Item(IDC_P1_COMPANY).SetText(companyText);
    Item(IDC_P1_PERIOD).SetText(periodText);
    Item(IDC_P1_FIRST_MONTH).SetText(startMonthText_);
    Item(IDC_P1_OUTPUT_PATH).SetText(outputPathText_);
    Item(IDC_P1_END_MONTH).SetText(endMonthText_);
    showing_ = false;
}

void ClCEPage1::FillFromConditions(bool outputPathFixed) {
    if (site_ == nullptr)
        return;
    const AggregationConditions& conditions = site_->Conditions();
    startMonthText_ = std::to_string(conditions.firstMonth);
    endMonthText_ = std::to_string(conditions.endMonth);
    outputPathText_ = conditions.outputPath;
    win::Button(Item(IDC_P1_TAX_INCLUDED).Handle()).SetCheck(conditions.taxIncluded != 0);
    if (outputPathFixed) {
        Item(IDC_P1_OUTPUT_PATH).Enable(false);
        Item(IDC_P1_BROWSE).Enable(false);
        Item(IDC_P1_OUTPUT_GROUP).SetText(texts::kFixedOutputGroup);
    }
    ShowValues();
}

void ClCEPage1::BrowseOutputFile() {
    if (site_ == nullptr)
        return;
    const page1::BrowseStart start = page1::SplitForBrowse(Item(IDC_P1_OUTPUT_PATH).GetText());
    std::vector<char> file(std::max(kBrowseBuffer, start.fileName.size() + 1), '\0');
    start.fileName.copy(file.data(), start.fileName.size());

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = kBrowseFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = start.folder.empty() ? nullptr : start.folder.c_str();
    dialog.lpstrTitle = texts::kBrowseTitle;
    dialog.lpstrDefExt = kBrowseExtension;
    // No file-must-exist: the user names the file to be written, usually a new one. An existing
    // file is questioned by Execute.
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&dialog))
        return;
    outputPathText_ = file.data();
    ShowValues();
    site_->Conditions().outputPath = outputPathText_;
}

void ClCEPage1::FocusEndMonth() const {
    win::Edit(Item(IDC_P1_END_MONTH).Handle()).FocusSelectAll();
}

void ClCEPage1::FocusOutputPath() const {
    win::Edit(Item(IDC_P1_OUTPUT_PATH).Handle()).FocusSelectAll();
}

void ClCEPage1::OnSetActive() {
    if (site_ == nullptr)
        return;
    site_->ShowNavigationFor(0);
}

bool ClCEPage1::OnCommand(int code, int id, HWND) {
    if (site_ == nullptr || showing_)
        return false;
    AggregationConditions& conditions = site_->Conditions();
    switch (id) {
    case IDC_P1_END_MONTH:
        if (code != EN_CHANGE)
            return false;
        endMonthText_ = Item(IDC_P1_END_MONTH).GetText();
        conditions.endMonth = page1::EndMonthFromText(endMonthText_);
        return true;
    case IDC_P1_OUTPUT_PATH:
        if (code != EN_CHANGE)
            return false;
        outputPathText_ = Item(IDC_P1_OUTPUT_PATH).GetText();
        conditions.outputPath = outputPathText_;
        return true;
    case IDC_P1_TAX_INCLUDED:
        if (code != BN_CLICKED)
            return false;
        conditions.taxIncluded =
            win::Button(Item(IDC_P1_TAX_INCLUDED).Handle()).IsChecked() ? 1 : 0;
        return true;
    case IDC_P1_BROWSE:
        if (code != BN_CLICKED)
            return false;
        BrowseOutputFile();
        return true;
    default:
        return false;
    }
}

page1::Control ClCEPage1::ControlOf(HWND window) const {
    if (window == nullptr || ::GetParent(window) != Handle())
        return page1::Control::Other;
    switch (::GetDlgCtrlID(window)) {
    case IDC_P1_END_MONTH:
        return page1::Control::EndMonth;
    case IDC_P1_TAX_INCLUDED:
        return page1::Control::TaxIncluded;
    case IDC_P1_OUTPUT_PATH:
        return page1::Control::OutputPath;
    case IDC_P1_BROWSE:
        return page1::Control::Browse;
    default:
        return page1::Control::Other;
    }
}

void ClCEPage1::RunEnter(page1::EnterAction action) {
    const win::Window frame = Parent();
    switch (action) {
    case page1::EnterAction::FocusTaxIncluded:
        Item(IDC_P1_TAX_INCLUDED).Focus();
        break;
    case page1::EnterAction::FocusOutputPath:
        FocusOutputPath();
        break;
    case page1::EnterAction::FocusPrevious:
        frame.Item(sheet::kPrevious).Focus();
        break;
    case page1::EnterAction::FocusNext:
        frame.Item(sheet::kNext).Focus();
        break;
    case page1::EnterAction::FocusBrowse:
        Item(IDC_P1_BROWSE).Focus();
        break;
    case page1::EnterAction::RunBrowse:
        BrowseOutputFile();
        break;
    case page1::EnterAction::None:
        break;
    }
}

bool ClCEPage1::PreTranslate(MSG& message) {
    const bool isKey = win::IsKeyMessage(message.message);
    const sheet::Modifiers modifiers = win::HeldModifiers();
    const auto key = static_cast<unsigned>(message.wParam);
    if (sheet::IsAltF4(isKey, key, modifiers))
        return true;
    if (site_ == nullptr || message.message != WM_KEYDOWN || key != sheet::kKeyEnter ||
        modifiers.any())
        return false;
    const win::Window frame = Parent();
    const page1::EnterState state{Item(IDC_P1_OUTPUT_PATH).IsEnabled(),
                                  Item(IDC_P1_BROWSE).IsEnabled(),
                                  frame.Item(sheet::kPrevious).IsEnabled()};
    const page1::EnterAction action = page1::DecideEnter(ControlOf(::GetFocus()), state);
    if (action == page1::EnterAction::None)
        return false;
    RunEnter(action);
    // The sheet would swallow Enter anyway; taking it here keeps it from pressing the button
    // that has just received the focus.
    return true;
}
