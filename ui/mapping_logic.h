// The account-mapping dialog (template 134) without windows: which host accounts it lists,
// which of them are chosen, and how the choice replaces one statement line's entries in the
// user's mapping list. The window code implements AccountListView over its list view and
// check box, and forwards the user's actions here.
#pragma once

#include "aggregate/account_catalogue.h"
#include "aggregate/statement_line.h"
#include "host/records.h"
#include "platform/host.h"
#include "platform/status.h"
#include "settings/conditions.h"
#include "ui/condition_sheet_logic.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mapping {

// describeMappedAccounts keeps its text within this many bytes, terminating NUL included.
constexpr std::size_t kDescriptionSize = 10000;

// Gives the name of the host main account with a key; false when there is none.
using AccountNameLookup = std::function<bool(const std::string& key, std::string& name)>;
// The lookup over the catalogue of the host's accounts; it holds the catalogue by reference.
AccountNameLookup CatalogueAccountNames(const AccountCatalogue& accounts);

// The names of the host accounts mapped to a statement line, joined by " / ", or
// texts::kNoAccountsTip when none is found. Names that do not fit whole within
// kDescriptionSize - 1 bytes are left off, with every name after them.
std::string describeMappedAccounts(const AggregationConditions& conditions, std::int16_t lineNo,
                                   const AccountNameLookup& lookup);

// The dialog's list of accounts and its check box of all accounts.
class AccountListView {
  public:
    virtual ~AccountListView() = default;

    virtual void DeleteAllRows() = 0;
    // A new, unchecked row at the bottom: the account number and the account name.
    virtual void AppendRow(const std::string& number, const std::string& name) = 0;
    virtual int RowCount() const = 0;
    // The text of the row's first column (the account number).
    virtual std::string RowNumberText(int row) const = 0;
    [[nodiscard]] virtual bool IsRowChecked(int row) const = 0;
    virtual void SetRowChecked(int row, bool checked) = 0;

    [[nodiscard]] virtual bool IsAllAccountsChecked() const = 0;
    virtual void SetAllAccountsChecked(bool checked) = 0;
};

enum class SyncMode { kFromDefaults = 0, kFromRows = 1, kAllAccounts = 2, kClear = 3 };

// The selection (account numbers) after a pass over the rows of view: for each row in turn, the
// first number equal to the row's number leaves the selection, and the number goes on at its end
// when the row is checked. Numbers of accounts the list does not show stay where they are.
std::vector<std::int32_t> SelectionAfterRows(const std::vector<std::int32_t>& selection,
                                             const AccountListView& view);

// Commands of the list's pop-up menu.
enum MenuCommand : int {
    kMenuRestoreDefaults = 1,
    kMenuCheckDisplayed = 2,
    kMenuUncheckDisplayed = 3,
    kMenuCheckAll = 4,
    kMenuUncheckAll = 5,
};

struct MenuEntry {
    int command;
    const char* text;
};

// The pop-up menu, top to bottom.
extern const std::array<MenuEntry, 5> kMenuEntries;

class AccountMapping {
  public:
    // The accounts are those of accounts, the catalogue of host's account master; the accounts
    // of the line's kinds are host's find. mappings is edited in place by ApplySelection;
    // defaultMappings is only read.
    AccountMapping(platform::Host& host, const AccountCatalogue& accounts, std::int16_t lineNo,
                   const std::array<std::uint32_t, StatementLine::kKindCodes>& lineKindCodes,
                   MappingEntries& mappings, const MappingEntries& defaultMappings,
                   AccountListView& view);

    // Asks host once for the accounts of the line's kinds, fills the list with them, widening it
    // to every account when a mapped account lies outside them, and checks the mapped accounts.
    // Refused, with the list empty, when the host's find fails.
    [[nodiscard]] platform::Status Open();
    // Lists the accounts of the line's kinds (filtered) or every account.
    void FillAccountList(bool filtered);
    // The displayed account with the code; a code below 10000 is an account number.
    std::optional<StKAMOKUINFO> FindDisplayedAccount(std::int32_t code) const;
    void SyncSelection(SyncMode mode);
    // Replaces the line's entries in the mapping list by the chosen accounts, at its end.
    void ApplySelection();
    // After the all-accounts box changed its state.
    void ToggleAllAccounts();
    // A command chosen from the pop-up menu; other values (a dismissed menu) do nothing.
    void RunMenuCommand(int command);

  private:
    [[nodiscard]] bool HasKindFilter() const { return lineKindCodes_[0] != 0; }
    void CheckAllRows(bool checked);
    // Checks the rows whose number is selected: every such row, or only the first of each.
    void CheckSelectedRows(bool firstRowOnly);

    platform::Host& host_;
    const AccountCatalogue& accounts_;
    std::int16_t lineNo_;
    std::array<std::uint32_t, StatementLine::kKindCodes> lineKindCodes_;
    MappingEntries& mappings_;
    const MappingEntries& defaultMappings_;
    AccountListView& view_;
    // The listed accounts of the line's kinds, as host's find gave them at the opening.
    std::vector<StKAMOKUINFO> kindAccounts_;
    // The accounts the list shows, row by row; the first row of each code and of each key.
    std::vector<StKAMOKUINFO> displayedAccounts_;
    std::vector<AccountKey> displayedKeys_;
    std::unordered_map<std::int32_t, int> rowOfCode_;
    std::unordered_map<std::string_view, int> rowOfKey_;
    std::vector<std::int32_t> selection_;
};

// The account name without the half-width and full-width spaces that pad its end; any length.
std::string TrimAccountName(std::string_view name);

// Widths of the code and name columns, 3 : 11 of the list's client width, filling it.
struct ColumnWidths {
    int code;
    int name;
};
ColumnWidths AccountColumnWidths(int clientWidth);

// Keyboard of the dialog, for key-down messages.
enum class DialogFocus { kList, kAllAccountsCheck, kApplyButton, kOther };
enum class DialogKeyAction { kDefault, kFocusAllAccountsCheck, kFocusApplyButton, kApply };

DialogKeyAction TranslateDialogKey(unsigned virtualKey, sheet::Modifiers modifiers,
                                   DialogFocus focus);

} // namespace mapping
