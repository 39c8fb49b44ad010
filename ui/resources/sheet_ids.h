// The condition-entry sheet's own button bar, which replaces the framework's OK, Cancel and
// Apply buttons.
#pragma once

#define IDC_SHEET_EXECUTE 2000
#define IDC_SHEET_CANCEL 2001
#define IDC_SHEET_PREVIOUS 2002
#define IDC_SHEET_NEXT 2003
