#include "ui/mapping_logic.h"

#include "aggregate/account_key.h"
#include "platform/decimal.h"
#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>

namespace mapping {

namespace {

const char kNameSeparator[] = " / ";

// An account the dialog may list: a main account that neither flag byte hides.
bool IsListedAccount(const StKAMOKUINFO& account) {
    return IsMainAccountCode(account.code()) && account.hideFlag1() == 0 &&
           account.hideFlag2() == 0;
}

std::string_view AccountName(const StKAMOKUINFO& account) {
    const char* name = account.name();
    return std::string_view(name, strnlen(name, StKAMOKUINFO::nameSize));
}

// Number shown in a row's first column (0 when it shows none).
std::int32_t RowNumber(const AccountListView& view, int row) {
    return platform::LeadingDecimal(view.RowNumberText(row)).Clamped<std::int32_t>();
}

// The code of the listed account with the key; none when the catalogue has no such account.
std::optional<std::int32_t> CodeOfKey(const AccountCatalogue& accounts, const std::string& key) {
    const StKAMOKUINFO* account = accounts.FindByKey(key);
    if (account == nullptr)
        return std::nullopt;
    return account->code();
}

} // namespace

// In one pass, however many rows and numbers: each number's places are kept in queues, the
// earlier selection's first.
std::vector<std::int32_t> SelectionAfterRows(const std::vector<std::int32_t>& selection,
                                             const AccountListView& view) {
    struct Places {
        std::deque<std::size_t> earlier;
        std::deque<std::size_t> added;
    };
    std::unordered_map<std::int32_t, Places> places;
    for (std::size_t at = 0; at < selection.size(); ++at) {
        places[selection[at]].earlier.push_back(at);
    }
    std::vector<bool> earlierKept(selection.size(), true);
    std::vector<std::int32_t> added;
    std::vector<bool> addedKept;
    for (int row = 0; row < view.RowCount(); ++row) {
        const std::int32_t number = RowNumber(view, row);
        const auto found = places.find(number);
        if (found != places.end()) {
            Places& place = found->second;
            if (!place.earlier.empty()) {
                earlierKept[place.earlier.front()] = false;
                place.earlier.pop_front();
            } else if (!place.added.empty()) {
                addedKept[place.added.front()] = false;
                place.added.pop_front();
            }
        }
        if (view.IsRowChecked(row)) {
            places[number].added.push_back(added.size());
            added.push_back(number);
            addedKept.push_back(true);
        }
    }
    std::vector<std::int32_t> after;
    for (std::size_t at = 0; at < selection.size(); ++at) {
        if (earlierKept[at]) {
            after.push_back(selection[at]);
        }
    }
    for (std::size_t at = 0; at < added.size(); ++at) {
        if (addedKept[at]) {
            after.push_back(added[at]);
        }
    }
    return after;
}

const std::array<MenuEntry, 5> kMenuEntries = {{
    {kMenuRestoreDefaults, texts::kMenuRestoreDefaultsText},
    {kMenuCheckDisplayed, texts::kMenuCheckDisplayedText},
    {kMenuUncheckDisplayed, texts::kMenuUncheckDisplayedText},
    {kMenuCheckAll, texts::kMenuCheckAllText},
    {kMenuUncheckAll, texts::kMenuUncheckAllText},
}};

AccountMapping::AccountMapping(
    platform::Host& host, const AccountCatalogue& accounts, std::int16_t lineNo,
    const std::array<std::uint32_t, StatementLine::kKindCodes>& lineKindCodes,
    MappingEntries& mappings, const MappingEntries& defaultMappings, AccountListView& view)
    : host_(host), accounts_(accounts), lineNo_(lineNo), lineKindCodes_(lineKindCodes),
      mappings_(mappings), defaultMappings_(defaultMappings), view_(view) {}

platform::Status AccountMapping::Open() {
    kindAccounts_.clear();
    if (HasKindFilter()) {
        // One term per slot, zero slots included, joined by "or".
        std::vector<StFINDINFO> terms;
        for (std::size_t slot = 0; slot < lineKindCodes_.size(); ++slot) {
            StFINDINFO term{};
            term.set_field(StFINDINFO::kKindCode);
            term.set_op(StFINDINFO::kEqual);
            term.set_valueType(StFINDINFO::kKindCodeValue);
            term.set_kindValue(lineKindCodes_[slot]);
            term.set_link(slot + 1 < lineKindCodes_.size() ? StFINDINFO::kOr : StFINDINFO::kNone);
            terms.push_back(term);
        }
        platform::Status found =
            host_.ForEachAccount(terms.data(), [this](const StKAMOKUINFO& account) {
                if (IsListedAccount(account))
                    kindAccounts_.push_back(account);
                return true;
            });
        if (!found.ok()) {
            return found;
        }
    }
    FillAccountList(HasKindFilter());
    for (const auto& entry : mappings_) {
        if (entry->lineNo != lineNo_) {
            continue;
        }
        const std::optional<std::int32_t> code = CodeOfKey(accounts_, entry->key);
        if (code && !FindDisplayedAccount(*code)) {
            view_.SetAllAccountsChecked(true);
            FillAccountList(false);
            break;
        }
    }
    // Rows are the displayed accounts in the same order, so a row's record is at its index.
    const int rows = std::min(view_.RowCount(), static_cast<int>(displayedAccounts_.size()));
    for (const auto& entry : mappings_) {
        if (entry->lineNo != lineNo_) {
            continue;
        }
        const auto found = rowOfKey_.find(ComparedKey(entry->key));
        if (found != rowOfKey_.end() && found->second < rows) {
            view_.SetRowChecked(found->second, true);
        }
    }
    SyncSelection(SyncMode::kFromRows);
    return platform::Status();
}

void AccountMapping::FillAccountList(bool filtered) {
    view_.DeleteAllRows();
    displayedAccounts_.clear();
    if (filtered) {
        displayedAccounts_ = kindAccounts_;
    } else {
        for (const StKAMOKUINFO& account : accounts_.accounts()) {
            if (IsListedAccount(account)) {
                displayedAccounts_.push_back(account);
            }
        }
    }
    // The maps view the keys where they stay: built once they are all made.
    rowOfCode_.clear();
    rowOfKey_.clear();
    displayedKeys_.clear();
    displayedKeys_.reserve(displayedAccounts_.size());
    for (const StKAMOKUINFO& account : displayedAccounts_) {
        displayedKeys_.push_back(MakeAccountKey(account));
    }
    for (int row = 0; row < static_cast<int>(displayedAccounts_.size()); ++row) {
        rowOfCode_.emplace(displayedAccounts_[row].code(), row);
        rowOfKey_.emplace(ComparedKey(displayedKeys_[row].text), row);
    }
    for (const StKAMOKUINFO& account : displayedAccounts_) {
        view_.AppendRow(std::to_string(account.code() / kMainAccountScale),
                        TrimAccountName(AccountName(account)));
    }
}

std::optional<StKAMOKUINFO> AccountMapping::FindDisplayedAccount(std::int32_t code) const {
    const std::optional<std::int32_t> wanted = ScaledAccountCode(code);
    if (!wanted) {
        return std::nullopt;
    }
    const auto found = rowOfCode_.find(*wanted);
    if (found == rowOfCode_.end()) {
        return std::nullopt;
    }
    return displayedAccounts_[static_cast<std::size_t>(found->second)];
}

void AccountMapping::SyncSelection(SyncMode mode) {
    switch (mode) {
    case SyncMode::kFromRows:
        // Chosen accounts that the list does not show stay chosen.
        selection_ = SelectionAfterRows(selection_, view_);
        break;
    case SyncMode::kFromDefaults:
        selection_.clear();
        for (const auto& entry : defaultMappings_) {
            if (entry->lineNo == lineNo_) {
                // A key without an account becomes the number 0: no account.
                selection_.push_back(CodeOfKey(accounts_, entry->key).value_or(0) /
                                     kMainAccountScale);
            }
        }
        break;
    case SyncMode::kAllAccounts:
        selection_.clear();
        for (const StKAMOKUINFO& account : accounts_.accounts()) {
            if (IsListedAccount(account)) {
                selection_.push_back(account.code() / kMainAccountScale);
            }
        }
        break;
    case SyncMode::kClear:
        selection_.clear();
        break;
    }
}

void AccountMapping::ApplySelection() {
    mappings_.erase(std::remove_if(mappings_.begin(), mappings_.end(),
                                   [this](const std::unique_ptr<MappingEntry>& entry) {
                                       return entry->lineNo == lineNo_;
                                   }),
                    mappings_.end());
    SyncSelection(SyncMode::kFromRows);
    for (std::int32_t number : selection_) {
        // Numbers come from main-account codes; 0 stands for a default without an account.
        if (number <= 0) {
            continue;
        }
        // The code itself, so that an account number of 10000 or more is not taken for a code.
        const StKAMOKUINFO* account = accounts_.FindByCode(number * kMainAccountScale);
        if (account == nullptr) {
            continue;
        }
        auto entry = std::make_unique<MappingEntry>();
        entry->lineNo = lineNo_;
        entry->key = MakeAccountKey(*account).str();
        mappings_.push_back(std::move(entry));
    }
}

void AccountMapping::ToggleAllAccounts() {
    SyncSelection(SyncMode::kFromRows);
    FillAccountList(!view_.IsAllAccountsChecked() && HasKindFilter());
    CheckSelectedRows(true);
}

void AccountMapping::RunMenuCommand(int command) {
    switch (command) {
    case kMenuRestoreDefaults:
        CheckAllRows(false);
        SyncSelection(SyncMode::kFromDefaults);
        CheckSelectedRows(false);
        break;
    case kMenuCheckDisplayed:
        CheckAllRows(true);
        SyncSelection(SyncMode::kFromRows);
        break;
    case kMenuUncheckDisplayed:
        CheckAllRows(false);
        SyncSelection(SyncMode::kFromRows);
        break;
    case kMenuCheckAll:
        view_.SetAllAccountsChecked(true);
        FillAccountList(false);
        CheckAllRows(true);
        SyncSelection(SyncMode::kAllAccounts);
        break;
    case kMenuUncheckAll:
        CheckAllRows(false);
        SyncSelection(SyncMode::kClear);
        break;
    default:
        break;
    }
}

void AccountMapping::CheckAllRows(bool checked) {
    for (int row = 0; row < view_.RowCount(); ++row) {
        view_.SetRowChecked(row, checked);
    }
}

void AccountMapping::CheckSelectedRows(bool firstRowOnly) {
    std::unordered_map<std::int32_t, std::vector<int>> rowsOf;
    for (int row = 0; row < view_.RowCount(); ++row) {
        rowsOf[RowNumber(view_, row)].push_back(row);
    }
    for (std::int32_t number : selection_) {
        const auto found = rowsOf.find(number);
        if (found == rowsOf.end()) {
            continue;
        }
        for (int row : found->second) {
            view_.SetRowChecked(row, true);
            if (firstRowOnly) {
                break;
            }
        }
    }
}

std::string TrimAccountName(std::string_view name) {
    std::size_t end = 0;
    std::size_t i = 0;
    while (i < name.size()) {
        const auto lead = static_cast<unsigned char>(name[i]);
        if (platform::CharLength(name, i) == 2) {
            const bool wideSpace = lead == 0x81 && static_cast<unsigned char>(name[i + 1]) == 0x40;
            i += 2;
            if (!wideSpace) {
                end = i;
            }
            continue;
        }
        ++i;
        if (lead != ' ') {
            end = i;
        }
    }
    return std::string(name.substr(0, end));
}

ColumnWidths AccountColumnWidths(int clientWidth) {
    const int width = std::max(clientWidth, 0);
    return {3 * (width / 14), 11 * (width / 14) + width % 14};
}

DialogKeyAction TranslateDialogKey(unsigned virtualKey, sheet::Modifiers modifiers,
                                   DialogFocus focus) {
    if (modifiers.any()) {
        return DialogKeyAction::kDefault;
    }
    if (virtualKey == sheet::kKeyF12) {
        return DialogKeyAction::kApply;
    }
    if (virtualKey != sheet::kKeyEnter) {
        return DialogKeyAction::kDefault;
    }
    switch (focus) {
    case DialogFocus::kList:
        return DialogKeyAction::kFocusAllAccountsCheck;
    case DialogFocus::kAllAccountsCheck:
        return DialogKeyAction::kFocusApplyButton;
    case DialogFocus::kApplyButton:
        return DialogKeyAction::kApply;
    case DialogFocus::kOther:
        break;
    }
    return DialogKeyAction::kDefault;
}

AccountNameLookup CatalogueAccountNames(const AccountCatalogue& accounts) {
    return [&accounts](const std::string& key, std::string& name) {
        const StKAMOKUINFO* account = accounts.FindByKey(key);
        if (account == nullptr)
            return false;
        name.assign(account->name(), strnlen(account->name(), StKAMOKUINFO::nameSize));
        return true;
    };
}

std::string describeMappedAccounts(const AggregationConditions& conditions, std::int16_t lineNo,
                                   const AccountNameLookup& lookup) {
    std::string text;
    if (conditions.mappings != nullptr) {
        for (const auto& entry : *conditions.mappings) {
            std::string name;
            if (entry->lineNo != lineNo || !lookup(entry->key, name))
                continue;
            const std::size_t added =
                (text.empty() ? 0 : std::strlen(kNameSeparator)) + name.size();
            if (text.size() + added > kDescriptionSize - 1)
                break;
            if (!text.empty())
                text += kNameSeparator;
            text += name;
        }
    }
    return text.empty() ? texts::kNoAccountsTip : text;
}

} // namespace mapping
