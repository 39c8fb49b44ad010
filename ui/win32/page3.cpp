#include "ui/win32/page3.h"

#include "ui/page3_logic.h"
#include "ui/resources/page3_ids.h"

ClCEPage3::ClCEPage3(FormGeneration form)
    : ClLineButtonPage(IDD_PAGE3, pages::MonthlyControls(form), 2) {}
