// The link program's windows as the test tools find them: the control IDs of its templates
// (ui/resources) and the titles of its windows, as a user sees them.
#pragma once

#include "ui/resources/mapping_ids.h"
#include "ui/resources/page1_ids.h"
#include "ui/resources/page2_ids.h"
#include "ui/resources/sheet_ids.h"

namespace tools {

// The condition sheet, the account-mapping dialog and the file dialog of page 1's browse button.
inline constexpr wchar_t kSheetTitle[] = L"事業概況書 - 集計条件";
inline constexpr wchar_t kMappingTitle[] = L"集約科目対応設定";
inline constexpr wchar_t kBrowseTitle[] = L"保存ファイルを指定";

// Page 2's line buttons.
inline constexpr int kLineButtons[] = {
    IDC_P2_SIDELINE_SALES,
    IDC_P2_OPENING_INVENTORY,
    IDC_P2_MATERIAL_PURCHASES,
    IDC_P2_LABOUR_COSTS,
    IDC_P2_OUTSOURCING,
    IDC_P2_PURCHASES,
    IDC_P2_CLOSING_INVENTORY,
    IDC_P2_MANUFACTURING_EXPENSES,
    IDC_P2_OFFICERS_PAY,
    IDC_P2_STAFF_SALARIES,
    IDC_P2_WELFARE,
    IDC_P2_DEPRECIATION,
    IDC_P2_RENT,
    IDC_P2_EXTRAORDINARY_RESULT,
    IDC_P2_CASH,
    IDC_P2_NOTES_RECEIVABLE,
    IDC_P2_RECEIVABLES,
    IDC_P2_INVENTORIES,
    IDC_P2_LOANS_RECEIVABLE,
    IDC_P2_BUILDINGS,
    IDC_P2_MACHINERY,
    IDC_P2_VEHICLES,
    IDC_P2_LAND,
    IDC_P2_NOTES_PAYABLE,
    IDC_P2_PAYABLES,
    IDC_P2_PERSONAL_LOANS,
    IDC_P2_OTHER_LOANS,
};

} // namespace tools
