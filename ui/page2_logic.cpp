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
        {IDC_P2_LABEL_1020, kLabel, 1},    {IDC_P2_BUTTON_1026, kButton, 2},
        {IDC_P2_LABEL_1021, kLabel, 3},    {IDC_P2_BUTTON_1029, kButton, 4},
        {IDC_P2_BUTTON_1030, kButton, 5},  {IDC_P2_BUTTON_1031, kButton, 6},
        {IDC_P2_BUTTON_1032, kButton, 7},  {IDC_P2_BUTTON_1033, kButton, 8},
        {IDC_P2_BUTTON_1038, kButton, 9},  {IDC_P2_BUTTON_1039, kButton, 10},
        {IDC_P2_LABEL_1022, kLabel, 11},   {IDC_P2_BUTTON_1040, kButton, 12},
        {IDC_P2_BUTTON_1041, kButton, 13}, {IDC_P2_BUTTON_1042, kButton, 14},
        {IDC_P2_BUTTON_1043, kButton, 15}, {IDC_P2_BUTTON_1046, kButton, 16},
        {IDC_P2_LABEL_1023, kLabel, 17},
    };
}

// The asset and liability buttons, top to bottom.
constexpr int kRightButtons[] = {
    IDC_P2_BUTTON_1048, IDC_P2_BUTTON_1049, IDC_P2_BUTTON_1050, IDC_P2_BUTTON_1051,
    IDC_P2_BUTTON_1052, IDC_P2_BUTTON_1055, IDC_P2_BUTTON_1056, IDC_P2_BUTTON_1057,
    IDC_P2_BUTTON_1058, IDC_P2_BUTTON_1061, IDC_P2_BUTTON_1063, IDC_P2_BUTTON_1064,
    IDC_P2_BUTTON_1065,
};

// Lines of the right-hand buttons: the assets start at firstAsset, the liabilities at
// firstAsset + 10 (one line between the groups has no control).
void AddRightColumn(std::vector<LineControl>& controls, std::int16_t firstAsset) {
    std::int16_t line = firstAsset;
    for (int id : kRightButtons) {
        controls.push_back({id, kButton, line});
        line = static_cast<std::int16_t>(id == IDC_P2_BUTTON_1058 ? line + 2 : line + 1);
    }
}

std::vector<LineControl> Generation16() {
    std::vector<LineControl> controls = LeftColumn();
    controls.push_back({IDC_P2_BUTTON_1047, kButton, 18});
    controls.push_back({IDC_P2_LABEL_1024, kLabel, 19});
    AddRightColumn(controls, 21);
    return controls;
}

std::vector<LineControl> Generation30() {
    std::vector<LineControl> controls = LeftColumn();
    controls.push_back({IDC_P2_LABEL_1025, kLabel, 18});
    controls.push_back({IDC_P2_LABEL_1034, kLabel, 19});
    controls.push_back({IDC_P2_LABEL_1024, kLabel, 20});
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
        IDC_P2_TOTAL_LIABILITIES, IDC_P2_EQUITY_TOTAL,        IDC_P2_ASSETS_CAPTION,
        IDC_P2_ASSETS_FRAME,      IDC_P2_LIABILITIES_CAPTION, IDC_P2_LIABILITIES_FRAME,
        IDC_P2_BUTTON_1048,       IDC_P2_BUTTON_1049,         IDC_P2_BUTTON_1050,
        IDC_P2_BUTTON_1051,       IDC_P2_BUTTON_1052,         IDC_P2_BUTTON_1055,
        IDC_P2_BUTTON_1056,       IDC_P2_BUTTON_1057,         IDC_P2_BUTTON_1058,
        IDC_P2_BUTTON_1061,       IDC_P2_BUTTON_1063,         IDC_P2_BUTTON_1064,
        IDC_P2_BUTTON_1065,
    };
    for (int id : {int{IDC_P2_LABEL_1024}, int{IDC_P2_ASSETS_FRAME}, int{IDC_P2_BUTTON_1048},
                   int{IDC_P2_BUTTON_1049}, int{IDC_P2_TOTAL_ASSETS}}) {
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
    relayout.shown = {IDC_P2_LABEL_1025, IDC_P2_LABEL_1034};
    relayout.hidden = {IDC_P2_BUTTON_1047};
    // Line 20 takes the top of the right-hand column, beside line 19.
    relayout.moves.push_back(
        {IDC_P2_LABEL_1024, rects.at(IDC_P2_ASSETS_FRAME).left, rects.at(IDC_P2_BUTTON_1048).top});
    const ControlRect& totalAssets = rects.at(IDC_P2_TOTAL_ASSETS);
    const int down = rects.at(IDC_P2_BUTTON_1049).top - totalAssets.top;
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
