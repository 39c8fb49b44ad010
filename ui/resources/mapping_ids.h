// Template 134, the account-mapping dialog that maps host accounts to one statement line.
#pragma once

#define IDD_MAPPING 134

#define IDC_MAP_LIST 1030
#define IDC_MAP_ALL_ACCOUNTS 1031
#define IDC_MAP_APPLY 1032
#define IDC_MAP_CANCEL 1033
#define IDC_MAP_CAPTION 1034
