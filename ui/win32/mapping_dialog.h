// The modal account-mapping dialog (template 134): chooses the host accounts that feed one
// statement line. The opener sets the public fields, runs it and destroys it; the choice
// lands in mappings when the user presses its Set (F12) button.
#pragma once

#include "aggregate/statement_line.h"
#include "ui/condition_sheet_logic.h"
#include "ui/mapping_logic.h"
#include "ui/resources/mapping_ids.h"
#include "ui/win32/dialog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class ClAccountMappingDialog : public win::ModalDialog, private mapping::AccountListView {
  public:
    // Results of the modal run: applied and cancelled are the buttons that end it; a failure of
    // the host's find (failure() tells) ends it with sheet::kFailed; sheet::kNotShown when it
    // could not be shown.
    enum Result : int {
        kApplied = IDC_MAP_APPLY,
        kCancelled = IDC_MAP_CANCEL,
    };

    // The accounts listed are those of accounts, the catalogue of host's account master.
    ClAccountMappingDialog(platform::Host& host, const AccountCatalogue& accounts)
        : host_(host), accounts_(accounts) {}

    std::string caption;
    std::int16_t lineNo = 0;
    std::array<std::uint32_t, StatementLine::kKindCodes> lineKindCodes{};
    MappingEntries* mappings = nullptr;
    const MappingEntries* defaultMappings = nullptr;

    // Runs the dialog owned by owner: a Result, sheet::kFailed or sheet::kNotShown.
    INT_PTR DoModal(HWND owner);
    const platform::Status& failure() const { return failure_; }

    bool PreTranslate(MSG& message) override;

  protected:
    bool OnInit() override;
    bool OnCommand(int code, int id, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

  private:
    // AccountListView over the list view and the check box.
    void DeleteAllRows() override;
    void AppendRow(const std::string& number, const std::string& name) override;
    int RowCount() const override;
    std::string RowNumberText(int row) const override;
    bool IsRowChecked(int row) const override;
    void SetRowChecked(int row, bool checked) override;
    bool IsAllAccountsChecked() const override;
    void SetAllAccountsChecked(bool checked) override;

    void Apply();
    void ShowMenu();
    // Splits the list's client width between the two columns, 3 : 11.
    void FitColumns();

    win::Window list_;
    win::Button allAccounts_;
    platform::Host& host_;
    const AccountCatalogue& accounts_;
    std::unique_ptr<mapping::AccountMapping> logic_;
    platform::Status failure_;
};
