#include "ui/page3_logic.h"

#include "ui/resources/page3_ids.h"

namespace pages {

namespace {

// Button k, top to bottom, belongs to the first monthly line of the generation plus k.
std::vector<LineControl> MonthlyButtons(std::int16_t firstMonthlyLine) {
    static constexpr int kButtons[] = {
        IDC_P3_BUTTON_1, IDC_P3_BUTTON_2, IDC_P3_BUTTON_3, IDC_P3_BUTTON_4,
        IDC_P3_BUTTON_5, IDC_P3_BUTTON_6, IDC_P3_BUTTON_7, IDC_P3_BUTTON_8,
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
