// The link program's windows as the test tools find them: the control IDs of its templates
// (ui/resources) and the titles of its windows, as a user sees them.
#pragma once

#include "ui/resources/mapping_ids.h"
#include "ui/resources/page1_ids.h"
#include "ui/resources/sheet_ids.h"

namespace tools {

// The condition sheet, the account-mapping dialog and the file dialog of page 1's browse button.
inline constexpr wchar_t kSheetTitle[] = L"事業概況書 - 集計条件";
inline constexpr wchar_t kMappingTitle[] = L"集約科目対応設定";
inline constexpr wchar_t kBrowseTitle[] = L"保存ファイルを指定";

} // namespace tools
