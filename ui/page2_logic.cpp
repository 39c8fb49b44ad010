#include "ui/page2_logic.h"

#include "texts/catalogue.h"
#include "ui/resources/page2_ids.h"

namespace pages {

namespace {

constexpr LineControlKind kLabel = LineControlKind::kLabel;
constexpr LineControlKind kButton = LineControlKind::kButton;

// Controls shared by both generations with the same line; the tables below add the rest.
std::vector<LineControl> LeftColumn() {
    return {
        {IDC_P2_SALES, kLabel, 1},
        {IDC_P2_SIDELINE_SALES, kButton, 2},
        {IDC_P2_COST_OF_SALES, kLabel, 3},
        {IDC_P2_OPENING_INVENTORY, kButton, 4},
        {IDC_P2_MATERIAL_PURCHASES, kButton, 5},
        {IDC_P2_LABOUR_COSTS, kButton, 6},
        {IDC_P2_OUTSOURCING, kButton, 7},
        {IDC_P2_PURCHASES, kButton, 8},
        {IDC_P2_CLOSING_INVENTORY, kButton, 9},
        {IDC_P2_MANUFACTURING_EXPENSES, kButton, 10},
        {IDC_P2_GROSS_PROFIT, kLabel, 11},
        {IDC_P2_OFFICERS_PAY, kButton, 12},
        {IDC_P2_STAFF_SALARIES, kButton, 13},
        {IDC_P2_WELFARE, kButton, 14},
        {IDC_P2_DEPRECIATION, kButton, 15},
        {IDC_P2_RENT, kButton, 16},
        {IDC_P2_OPERATING_RESULT, kLabel, 17},
    };
}

// The asset and liability buttons, top to bottom.
constexpr int kRightButtons[] = {
    IDC_P2_CASH,          IDC_P2_NOTES_RECEIVABLE, IDC_P2_RECEIVABLES,
    IDC_P2_INVENTORIES,   IDC_P2_LOANS_RECEIVABLE, IDC_P2_BUILDINGS,
    IDC_P2_MACHINERY,     IDC_P2_VEHICLES,         IDC_P2_LAND,
    IDC_P2_NOTES_PAYABLE, IDC_P2_PAYABLES,         IDC_P2_PERSONAL_LOANS,
    IDC_P2_OTHER_LOANS,
};

// Lines of the right-hand buttons: the assets start at firstAsset, the liabilities at
// firstAsset + 10 (one line between the groups has no control).
void AddRightColumn(std::vector<LineControl>& controls, std::int16_t firstAsset) {
    std::int16_t line = firstAsset;
    for (int id : kRightButtons) {
        controls.push_back({id, kButton, line});
        line = static_cast<std::int16_t>(id == IDC_P2_LAND ? line + 2 : line + 1);
    }
}

std::vector<LineControl> Generation16() {
    std::vector<LineControl> controls = LeftColumn();
    controls.push_back({IDC_P2_EXTRAORDINARY_RESULT, kButton, 18});
    controls.push_back({IDC_P2_RESULT_BEFORE_TAX, kLabel, 19});
    AddRightColumn(controls, 21);
    return controls;
}

std::vector<LineControl> Generation30() {
    std::vector<LineControl> controls = LeftColumn();
    controls.push_back({IDC_P2_EXTRAORDINARY_GAINS, kLabel, 18});
    controls.push_back({IDC_P2_EXTRAORDINARY_LOSSES, kLabel, 19});
    controls.push_back({IDC_P2_RESULT_BEFORE_TAX, kLabel, 20});
    AddRightColumn(controls, 22);
    return controls;
}

} // namespace

const std::vector<LineControl>& MainAccountControls(FormGeneration form) {
    static const std::vector<LineControl> older = Generation16();
    static const std::vector<LineControl> newer = Generation30();
    return form == FormGeneration::k30 ? newer : older;
}

const char* EquityTotalCaption(int equityLabel) {
    return equityLabel != 0 ? texts::kNetAssetsTotalCaption : texts::kEquityTotalCaption;
}

std::vector<ControlCaption> CaptionLineControls(const std::vector<LineControl>& controls,
                                                const StatementLines& lines) {
    std::vector<ControlCaption> captions;
    for (const LineControl& control : controls) {
        const StatementLine* last = nullptr;
        for (const auto& line : lines) {
            if (line->lineNo == control.lineNo) {
                last = line.get();
            }
        }
        if (last == nullptr) {
            continue;
        }
        const bool placeholder = last->name == "-";
        ControlCaption caption{control.controlId, placeholder ? std::string() : last->name, {}};
        if (control.kind == LineControlKind::kButton) {
            caption.enabled = !placeholder;
        }
        captions.push_back(std::move(caption));
    }
    return captions;
}

const StatementLine* FindStatementLine(const StatementLines& lines, std::int16_t lineNo) {
    for (const auto& line : lines) {
        if (line->lineNo == lineNo) {
            return line.get();
        }
    }
    return nullptr;
}

std::optional<PageRelayout> RelayoutMainAccountsPage(const std::map<int, ControlRect>& rects) {
    // Everything below the total of assets moves down together, in this order.
    static constexpr int kMovedDown[] = {
        IDC_P2_TOTAL_LIABILITIES,
        IDC_P2_EQUITY_TOTAL,
        IDC_P2_ASSETS_CAPTION,
        IDC_P2_ASSETS_FRAME,
        IDC_P2_LIABILITIES_CAPTION,
        IDC_P2_LIABILITIES_FRAME,
        IDC_P2_CASH,
        IDC_P2_NOTES_RECEIVABLE,
        IDC_P2_RECEIVABLES,
        IDC_P2_INVENTORIES,
        IDC_P2_LOANS_RECEIVABLE,
        IDC_P2_BUILDINGS,
        IDC_P2_MACHINERY,
        IDC_P2_VEHICLES,
        IDC_P2_LAND,
        IDC_P2_NOTES_PAYABLE,
        IDC_P2_PAYABLES,
        IDC_P2_PERSONAL_LOANS,
        IDC_P2_OTHER_LOANS,
    };
    for (int id : {int{IDC_P2_RESULT_BEFORE_TAX}, int{IDC_P2_ASSETS_FRAME}, int{IDC_P2_CASH},
                   int{IDC_P2_NOTES_RECEIVABLE}, int{IDC_P2_TOTAL_ASSETS}}) {
        if (rects.count(id) == 0) {
            return std::nullopt;
        }
    }
    for (int id : kMovedDown) {
        if (rects.count(id) == 0) {
            return std::nullopt;
        }
    }

    PageRelayout relayout;
    relayout.shown = {IDC_P2_EXTRAORDINARY_GAINS, IDC_P2_EXTRAORDINARY_LOSSES};
    relayout.hidden = {IDC_P2_EXTRAORDINARY_RESULT};
    // Line 20 takes the top of the right-hand column, beside line 19.
    relayout.moves.push_back(
        {IDC_P2_RESULT_BEFORE_TAX, rects.at(IDC_P2_ASSETS_FRAME).left, rects.at(IDC_P2_CASH).top});
    const ControlRect& totalAssets = rects.at(IDC_P2_TOTAL_ASSETS);
    const int down = rects.at(IDC_P2_NOTES_RECEIVABLE).top - totalAssets.top;
    relayout.moves.push_back({IDC_P2_TOTAL_ASSETS, totalAssets.left, totalAssets.top + down});
    for (int id : kMovedDown) {
        const ControlRect& rect = rects.at(id);
        relayout.moves.push_back({id, rect.left, rect.top + down});
    }
    return relayout;
}

PageKeyAction TranslatePageKey(MessageKind kind, unsigned wParam, sheet::Modifiers modifiers,
                               bool targetIsLineButton) {
    // Alt+F4 never reaches the sheet from a page. Only key messages carry a virtual-key code;
    // the character message of Alt+S also has the value 0x73 and must pass.
    const bool keyMessage = kind == MessageKind::kKeyDown || kind == MessageKind::kKeyUp;
    if (sheet::IsAltF4(keyMessage, wParam, modifiers)) {
        return PageKeyAction::kSwallow;
    }
    if (kind == MessageKind::kKeyDown && wParam == sheet::kKeyEnter && !modifiers.any() &&
        targetIsLineButton) {
        return PageKeyAction::kPressButton;
    }
    return PageKeyAction::kDefault;
}

} // namespace pages
