// The account-mapping dialog's list view and all-accounts box as plain fields, for the tests and
// benchmarks of its logic.
#pragma once

#include "ui/mapping_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// The list view and the all-accounts box as the dialog shows them.
class ListView : public mapping::AccountListView {
  public:
    struct Row {
        std::string number;
        std::string name;
        bool checked;
    };

    void DeleteAllRows() override { rows.clear(); }
    void AppendRow(const std::string& number, const std::string& name) override {
        rows.push_back({number, name, false});
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string RowNumberText(int row) const override { return rows.at(row).number; }
    bool IsRowChecked(int row) const override { return rows.at(row).checked; }
    void SetRowChecked(int row, bool checked) override { rows.at(row).checked = checked; }
    bool IsAllAccountsChecked() const override { return allAccounts; }
    void SetAllAccountsChecked(bool checked) override { allAccounts = checked; }

    // The numbers of the rows, "*" marking checked ones: "1110* 1120".
    std::string Shown() const {
        std::string text;
        for (const Row& row : rows) {
            text += (text.empty() ? "" : " ") + row.number + (row.checked ? "*" : "");
        }
        return text;
    }
    void Check(const std::string& number, bool checked = true) {
        for (Row& row : rows) {
            if (row.number == number) {
                row.checked = checked;
                return;
            }
        }
        ADD_FAILURE() << "no row " << number << " in " << Shown();
    }

    std::vector<Row> rows;
    bool allAccounts = false;
};

} // namespace testsupport
