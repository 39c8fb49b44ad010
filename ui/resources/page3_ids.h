// Template 132, page 3 (monthly sales and the like): one button per monthly line, top to bottom.
#pragma once

#define IDD_PAGE3 132

#define IDC_P3_MONTHLY_SALES 1029
#define IDC_P3_MONTHLY_PURCHASES 1030
#define IDC_P3_MONTHLY_OUTSOURCING 1031
#define IDC_P3_MONTHLY_PAYROLL 1032
#define IDC_P3_MONTHLY_WITHHOLDING 1033
#define IDC_P3_SPARE_1 1034
#define IDC_P3_SPARE_2 1035
#define IDC_P3_SPARE_3 1036
