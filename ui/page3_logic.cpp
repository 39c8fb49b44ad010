#include "ui/page3_logic.h"

#include "ui/resources/page3_ids.h"

namespace pages {

namespace {

// Button k, top to bottom, belongs to the first monthly line of the generation plus k.
std::vector<LineControl> MonthlyButtons(std::int16_t firstMonthlyLine) {
    static constexpr int kButtons[] = {
        IDC_P3_MONTHLY_SALES,
        IDC_P3_MONTHLY_PURCHASES,
        IDC_P3_MONTHLY_OUTSOURCING,
        IDC_P3_MONTHLY_PAYROLL,
        IDC_P3_MONTHLY_WITHHOLDING,
        IDC_P3_SPARE_1,
        IDC_P3_SPARE_2,
        IDC_P3_SPARE_3,
    };
    std::vector<LineControl> controls;
    std::int16_t line = firstMonthlyLine;
    for (int id : kButtons) {
        controls.push_back({id, LineControlKind::kButton, line++});
    }
    return controls;
}

} // namespace

const std::vector<LineControl>& MonthlyControls(FormGeneration form) {
    static const std::vector<LineControl> older = MonthlyButtons(36);
    static const std::vector<LineControl> newer = MonthlyButtons(37);
    return form == FormGeneration::k30 ? newer : older;
}

} // namespace pages
