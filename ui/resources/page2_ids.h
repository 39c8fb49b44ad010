// Template 131, page 2 (main accounts): the main-account lines of the statement.
#pragma once

#define IDD_PAGE2 131

// Sunken labels of lines that take no accounts; the two extraordinary lines are labels of
// generation "30" only.
#define IDC_P2_SALES 1020
#define IDC_P2_COST_OF_SALES 1021
#define IDC_P2_GROSS_PROFIT 1022
#define IDC_P2_OPERATING_RESULT 1023
#define IDC_P2_RESULT_BEFORE_TAX 1024
#define IDC_P2_EXTRAORDINARY_GAINS 1025
#define IDC_P2_EXTRAORDINARY_LOSSES 1034
// Equity total caption, worded at start-up.
#define IDC_P2_EQUITY_TOTAL 1035
#define IDC_P2_TOTAL_ASSETS 1060
#define IDC_P2_TOTAL_LIABILITIES 1062

// Vertical captions and the frames around them.
#define IDC_P2_COST_CAPTION 1027
#define IDC_P2_COST_FRAME 1028
#define IDC_P2_EXPENSES_CAPTION 1036
#define IDC_P2_EXPENSES_FRAME 1037
#define IDC_P2_ASSETS_CAPTION 1044
#define IDC_P2_ASSETS_FRAME 1045
#define IDC_P2_LIABILITIES_CAPTION 1053
#define IDC_P2_LIABILITIES_FRAME 1054

// Line buttons, one per line that takes accounts; the extraordinary result is a button of
// generation "16" only.
#define IDC_P2_SIDELINE_SALES 1026
#define IDC_P2_OPENING_INVENTORY 1029
#define IDC_P2_MATERIAL_PURCHASES 1030
#define IDC_P2_LABOUR_COSTS 1031
#define IDC_P2_OUTSOURCING 1032
#define IDC_P2_PURCHASES 1033
#define IDC_P2_CLOSING_INVENTORY 1038
#define IDC_P2_MANUFACTURING_EXPENSES 1039
#define IDC_P2_OFFICERS_PAY 1040
#define IDC_P2_STAFF_SALARIES 1041
#define IDC_P2_WELFARE 1042
#define IDC_P2_DEPRECIATION 1043
#define IDC_P2_RENT 1046
#define IDC_P2_EXTRAORDINARY_RESULT 1047
#define IDC_P2_CASH 1048
#define IDC_P2_NOTES_RECEIVABLE 1049
#define IDC_P2_RECEIVABLES 1050
#define IDC_P2_INVENTORIES 1051
#define IDC_P2_LOANS_RECEIVABLE 1052
#define IDC_P2_BUILDINGS 1055
#define IDC_P2_MACHINERY 1056
#define IDC_P2_VEHICLES 1057
#define IDC_P2_LAND 1058
#define IDC_P2_NOTES_PAYABLE 1061
#define IDC_P2_PAYABLES 1063
#define IDC_P2_PERSONAL_LOANS 1064
#define IDC_P2_OTHER_LOANS 1065
