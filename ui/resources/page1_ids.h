// Template 130, page 1 (aggregation conditions): the aggregation period, the tax treatment and the
// output file.
#pragma once

#define IDD_PAGE1 130

#define IDC_P1_END_MONTH 1002
#define IDC_P1_TAX_INCLUDED 1003
#define IDC_P1_BUSINESS_TYPE 1006
#define IDC_P1_BROWSE 1007
#define IDC_P1_OUTPUT_PATH 1008
#define IDC_P1_COMPANY_CAPTION 1009
#define IDC_P1_COMPANY 1010
#define IDC_P1_PERIOD_CAPTION 1011
#define IDC_P1_PERIOD 1012
#define IDC_P1_RANGE_CAPTION 1013
#define IDC_P1_FIRST_MONTH 1014
#define IDC_P1_FIRST_MONTH_UNIT 1015
#define IDC_P1_RANGE_SIGN 1016
#define IDC_P1_END_MONTH_UNIT 1017
#define IDC_P1_BUSINESS_TYPE_CAPTION 1018
#define IDC_P1_OUTPUT_GROUP 1019
