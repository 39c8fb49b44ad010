#include "ui/win32/mapping_dialog.h"

#include "texts/catalogue.h"
#include "ui/resources/mapping_ids.h"
#include "ui/win32/keys.h"

#include <commctrl.h>

#include <vector>

namespace {

// The list is redrawn once after a refill instead of after every row: row by row, a full
// account list kept the dialog from answering for seconds.
class ListRedrawScope {
  public:
    explicit ListRedrawScope(const win::Window& list) : list_(list) {
        list_.SendMsg(WM_SETREDRAW, FALSE);
    }
    ~ListRedrawScope() {
        list_.SendMsg(WM_SETREDRAW, TRUE);
        ::InvalidateRect(list_.Handle(), nullptr, TRUE);
    }
    ListRedrawScope(const ListRedrawScope&) = delete;
    ListRedrawScope& operator=(const ListRedrawScope&) = delete;

  private:
    const win::Window& list_;
};

} // namespace

INT_PTR ClAccountMappingDialog::DoModal(HWND owner) {
    if (mappings == nullptr || defaultMappings == nullptr) {
        return sheet::kNotShown;
    }
    failure_ = platform::Status();
    const INT_PTR result = Run(IDD_MAPPING, owner);
    logic_.reset();
    return result;
}

bool ClAccountMappingDialog::OnInit() {
    list_ = Item(IDC_MAP_LIST);
    allAccounts_ = win::Button(Item(IDC_MAP_ALL_ACCOUNTS).Handle());
    Item(IDC_MAP_CAPTION).SetText(caption);

    const char* const titles[] = {texts::kAccountCodeColumn, texts::kAccountNameColumn};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA description{};
        description.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        description.fmt = LVCFMT_LEFT;
        description.pszText = const_cast<char*>(titles[column]);
        description.iSubItem = column;
        list_.SendMsg(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                      reinterpret_cast<LPARAM>(&description));
    }
    FitColumns();
    const LPARAM extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    list_.SendMsg(LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(extended), extended);

    logic_ = std::make_unique<mapping::AccountMapping>(host_, accounts_, lineNo, lineKindCodes,
                                                       *mappings, *defaultMappings,
                                                       static_cast<AccountListView&>(*this));
    ListRedrawScope redraw(list_);
    if (platform::Status opened = logic_->Open(); !opened.ok()) {
        failure_ = std::move(opened);
        End(sheet::kFailed);
    }
    return true;
}

bool ClAccountMappingDialog::OnCommand(int code, int id, HWND) {
    switch (id) {
    case IDC_MAP_APPLY:
        if (code == BN_CLICKED) {
            Apply();
        }
        return true;
    case IDC_MAP_CANCEL:
    case IDCANCEL:
        End(kCancelled);
        return true;
    case IDC_MAP_ALL_ACCOUNTS:
        if (code == BN_CLICKED) {
            ListRedrawScope redraw(list_);
            logic_->ToggleAllAccounts();
        }
        return true;
    case IDOK:
        // Enter where no rule of the dialog applies never closes it.
        return true;
    default:
        return false;
    }
}

bool ClAccountMappingDialog::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_MAP_LIST || header.code != static_cast<UINT>(NM_RCLICK)) {
        return false;
    }
    ShowMenu();
    result = 0;
    return true;
}

bool ClAccountMappingDialog::PreTranslate(MSG& message) {
    if (message.message != WM_KEYDOWN || logic_ == nullptr) {
        return false;
    }
    mapping::DialogFocus focus = mapping::DialogFocus::kOther;
    const HWND focused = ::GetFocus();
    if (focused == list_.Handle()) {
        focus = mapping::DialogFocus::kList;
    } else if (focused == allAccounts_.Handle()) {
        focus = mapping::DialogFocus::kAllAccountsCheck;
    } else if (focused == Item(IDC_MAP_APPLY).Handle()) {
        focus = mapping::DialogFocus::kApplyButton;
    }
    const sheet::Modifiers modifiers = win::HeldModifiers();
    switch (mapping::TranslateDialogKey(static_cast<unsigned>(message.wParam), modifiers, focus)) {
    case mapping::DialogKeyAction::kDefault:
        return false;
    case mapping::DialogKeyAction::kFocusAllAccountsCheck:
        allAccounts_.Focus();
        return true;
    case mapping::DialogKeyAction::kFocusApplyButton:
        Item(IDC_MAP_APPLY).Focus();
        return true;
    case mapping::DialogKeyAction::kApply:
        Apply();
        return true;
    }
    return false;
}

void ClAccountMappingDialog::Apply() {
    logic_->ApplySelection();
    End(kApplied);
}

void ClAccountMappingDialog::ShowMenu() {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    for (const mapping::MenuEntry& entry : mapping::kMenuEntries) {
        ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.command), entry.text);
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const int command = static_cast<int>(::TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
        cursor.x, cursor.y, 0, Handle(), nullptr));
    ::DestroyMenu(menu);
    ListRedrawScope redraw(list_);
    logic_->RunMenuCommand(command);
}

void ClAccountMappingDialog::FitColumns() {
    // Measured once, before any row: the columns fill the empty list exactly. Under a long
    // list's vertical scroll bar the codes keep their width and the list scrolls sideways.
    const RECT client = list_.ClientRect();
    const mapping::ColumnWidths widths = mapping::AccountColumnWidths(client.right - client.left);
    list_.SendMsg(LVM_SETCOLUMNWIDTH, 0, widths.code);
    list_.SendMsg(LVM_SETCOLUMNWIDTH, 1, widths.name);
}

void ClAccountMappingDialog::DeleteAllRows() {
    list_.SendMsg(LVM_DELETEALLITEMS);
}

void ClAccountMappingDialog::AppendRow(const std::string& number, const std::string& name) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(number.c_str());
    const auto row =
        static_cast<int>(list_.SendMsg(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) {
        return;
    }
    LVITEMA nameItem{};
    nameItem.iSubItem = 1;
    nameItem.pszText = const_cast<char*>(name.c_str());
    list_.SendMsg(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&nameItem));
    SetRowChecked(row, false);
}

int ClAccountMappingDialog::RowCount() const {
    return static_cast<int>(list_.SendMsg(LVM_GETITEMCOUNT));
}

std::string ClAccountMappingDialog::RowNumberText(int row) const {
    // Account numbers are decimal int32 values: a dozen characters at most.
    std::vector<char> text(32, '\0');
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    list_.SendMsg(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::string(text.data());
}

bool ClAccountMappingDialog::IsRowChecked(int row) const {
    const auto state = static_cast<UINT>(
        list_.SendMsg(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void ClAccountMappingDialog::SetRowChecked(int row, bool checked) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    list_.SendMsg(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool ClAccountMappingDialog::IsAllAccountsChecked() const {
    return allAccounts_.IsChecked();
}

void ClAccountMappingDialog::SetAllAccountsChecked(bool checked) {
    allAccounts_.SetCheck(checked);
}
