// Template 132, page 3 (monthly sales and the like): one button per monthly line, top to bottom.
#pragma once

#define IDD_PAGE3 132

#define IDC_P3_BUTTON_1 1029
#define IDC_P3_BUTTON_2 1030
#define IDC_P3_BUTTON_3 1031
#define IDC_P3_BUTTON_4 1032
#define IDC_P3_BUTTON_5 1033
#define IDC_P3_BUTTON_6 1034
#define IDC_P3_BUTTON_7 1035
#define IDC_P3_BUTTON_8 1036
