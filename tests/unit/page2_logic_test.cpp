// Page 2: the control tables of both generations against template 131, the captions the
// statement lines give, the generation-30 relayout and the page's keys.
#include "ui/page2_logic.h"

#include "support/dialog_template.h"
#include "ui/resources/page2_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using pages::ControlCaption;
using pages::ControlRect;
using pages::LineControl;
using pages::LineControlKind;

testsupport::DialogTemplate Page2Template() {
    const std::string folder = std::string(OVW_SOURCE_DIR) + "/ui/resources/";
    return testsupport::ReadDialogTemplate(
        folder + "page2.rc", testsupport::ReadIdHeader(folder + "page2_ids.h"), IDD_PAGE2);
}

const LineControl* ControlOfLine(const std::vector<LineControl>& table, int lineNo) {
    for (const LineControl& control : table) {
        if (control.lineNo == lineNo) {
            return &control;
        }
    }
    return nullptr;
}

int LineOfControl(const std::vector<LineControl>& table, int controlId) {
    for (const LineControl& control : table) {
        if (control.controlId == controlId) {
            return control.lineNo;
        }
    }
    return -1;
}

StatementLines Lines(std::initializer_list<std::pair<int, const char*>> lines) {
    StatementLines result;
    for (const auto& [lineNo, name] : lines) {
        auto line = std::make_unique<StatementLine>();
        line->lineNo = static_cast<std::int16_t>(lineNo);
        line->name = name;
        result.push_back(std::move(line));
    }
    return result;
}

const ControlCaption* CaptionOf(const std::vector<ControlCaption>& captions, int controlId) {
    for (const ControlCaption& caption : captions) {
        if (caption.controlId == controlId) {
            return &caption;
        }
    }
    return nullptr;
}

TEST(Page2Template, HasEveryControlOnceWithTheTablesKinds) {
    const testsupport::DialogTemplate page = Page2Template();
    EXPECT_EQ(247, page.width);
    EXPECT_EQ(311, page.height);
    EXPECT_EQ(u8"主要科目", page.caption);
    std::set<int> ids;
    for (const auto& control : page.controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << "ID " << control.id << " twice";
    }
    EXPECT_EQ(45u, page.controls.size());
    for (FormGeneration form : {FormGeneration::k16, FormGeneration::k30}) {
        for (const LineControl& control : pages::MainAccountControls(form)) {
            const auto* found = page.Find(control.controlId);
            ASSERT_NE(nullptr, found) << "control " << control.controlId;
            EXPECT_EQ(control.kind == LineControlKind::kButton ? "PUSHBUTTON" : "CTEXT",
                      found->kind)
                << "control " << control.controlId;
            EXPECT_EQ("XXXXXXXXXXXXXXXX[20]", found->text) << "control " << control.controlId;
        }
    }
    // The newer generation's two labels start hidden and disabled.
    for (int id : {IDC_P2_EXTRAORDINARY_GAINS, IDC_P2_EXTRAORDINARY_LOSSES}) {
        const std::string& style = page.Find(id)->style;
        EXPECT_NE(std::string::npos, style.find("NOT WS_VISIBLE")) << id << ": " << style;
        EXPECT_NE(std::string::npos, style.find("WS_DISABLED")) << id << ": " << style;
    }
    EXPECT_EQ(u8"資本の部合計", page.Find(IDC_P2_EQUITY_TOTAL)->text);
    EXPECT_EQ(u8"販管費のうち", page.Find(IDC_P2_EXPENSES_CAPTION)->text);
}

TEST(Page2Tables, GenerationsDifferInTheLowerLeftAndTheRightColumn) {
    const auto& older = pages::MainAccountControls(FormGeneration::k16);
    const auto& newer = pages::MainAccountControls(FormGeneration::k30);
    const auto buttons = [](const std::vector<LineControl>& table) {
        return std::count_if(table.begin(), table.end(), [](const LineControl& c) {
            return c.kind == LineControlKind::kButton;
        });
    };
    EXPECT_EQ(27, buttons(older));
    EXPECT_EQ(26, buttons(newer));

    EXPECT_EQ(18, LineOfControl(older, IDC_P2_EXTRAORDINARY_RESULT));
    EXPECT_EQ(19, LineOfControl(older, IDC_P2_RESULT_BEFORE_TAX));
    EXPECT_EQ(-1, LineOfControl(older, IDC_P2_EXTRAORDINARY_GAINS));
    EXPECT_EQ(-1, LineOfControl(newer, IDC_P2_EXTRAORDINARY_RESULT));
    EXPECT_EQ(18, LineOfControl(newer, IDC_P2_EXTRAORDINARY_GAINS));
    EXPECT_EQ(19, LineOfControl(newer, IDC_P2_EXTRAORDINARY_LOSSES));
    EXPECT_EQ(20, LineOfControl(newer, IDC_P2_RESULT_BEFORE_TAX));

    const int rightOlder[] = {21, 22, 23, 24, 25, 26, 27, 28, 29, 31, 32, 33, 34};
    const int rightNewer[] = {22, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33, 34, 35};
    const int rightButtons[] = {1048, 1049, 1050, 1051, 1052, 1055, 1056,
                                1057, 1058, 1061, 1063, 1064, 1065};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(rightOlder[i], LineOfControl(older, rightButtons[i])) << rightButtons[i];
        EXPECT_EQ(rightNewer[i], LineOfControl(newer, rightButtons[i])) << rightButtons[i];
    }
    for (int line : {20, 30, 35}) {
        EXPECT_EQ(nullptr, ControlOfLine(older, line)) << "line " << line;
    }
    for (int line : {21, 31, 36}) {
        EXPECT_EQ(nullptr, ControlOfLine(newer, line)) << "line " << line;
    }
    for (int line = 1; line <= 17; ++line) {
        ASSERT_NE(nullptr, ControlOfLine(older, line));
        EXPECT_EQ(ControlOfLine(older, line)->controlId, ControlOfLine(newer, line)->controlId)
            << "line " << line;
    }
}

TEST(Page2Captions, PlaceholderLinesGiveBlankDisabledButtonsAndBlankLabels) {
    const StatementLines lines =
        Lines({{1, "売上高"}, {2, "-"}, {3, "-"}, {4, "期首棚卸高"}, {18, "現金・預金"}});
    const auto captions =
        pages::CaptionLineControls(pages::MainAccountControls(FormGeneration::k16), lines);
    ASSERT_EQ(5u, captions.size());

    const ControlCaption* label1 = CaptionOf(captions, IDC_P2_SALES);
    ASSERT_NE(nullptr, label1);
    EXPECT_EQ("売上高", label1->text);
    EXPECT_FALSE(label1->enabled.has_value()) << "labels keep their state";

    const ControlCaption* button2 = CaptionOf(captions, IDC_P2_SIDELINE_SALES);
    ASSERT_NE(nullptr, button2);
    EXPECT_EQ("", button2->text);
    EXPECT_EQ(std::optional<bool>(false), button2->enabled);

    const ControlCaption* label3 = CaptionOf(captions, IDC_P2_COST_OF_SALES);
    ASSERT_NE(nullptr, label3);
    EXPECT_EQ("", label3->text);
    EXPECT_FALSE(label3->enabled.has_value());

    const ControlCaption* button4 = CaptionOf(captions, IDC_P2_OPENING_INVENTORY);
    ASSERT_NE(nullptr, button4);
    EXPECT_EQ("期首棚卸高", button4->text);
    EXPECT_EQ(std::optional<bool>(true), button4->enabled);

    EXPECT_EQ("現金・預金", CaptionOf(captions, IDC_P2_EXTRAORDINARY_RESULT)->text);
    // Line 5 does not occur: its button keeps the template text and state.
    EXPECT_EQ(nullptr, CaptionOf(captions, IDC_P2_MATERIAL_PURCHASES));
}

TEST(Page2Captions, TheLaterOccurrenceOfALineWinsAndOnlyExactDashIsAPlaceholder) {
    const StatementLines lines = Lines({{4, "-"}, {5, "--"}, {4, "仕入高"}, {6, " -"}});
    const auto captions =
        pages::CaptionLineControls(pages::MainAccountControls(FormGeneration::k30), lines);
    EXPECT_EQ("仕入高", CaptionOf(captions, IDC_P2_OPENING_INVENTORY)->text);
    EXPECT_EQ(std::optional<bool>(true), CaptionOf(captions, IDC_P2_OPENING_INVENTORY)->enabled);
    EXPECT_EQ("--", CaptionOf(captions, IDC_P2_MATERIAL_PURCHASES)->text);
    EXPECT_EQ(" -", CaptionOf(captions, IDC_P2_LABOUR_COSTS)->text);
    EXPECT_EQ(std::optional<bool>(true), CaptionOf(captions, IDC_P2_LABOUR_COSTS)->enabled);
}

TEST(Page2Captions, EquityTotalFollowsTheCompanysLabel) {
    EXPECT_STREQ("資本の部合計", pages::EquityTotalCaption(0));
    EXPECT_STREQ("純資産の部合計", pages::EquityTotalCaption(1));
    EXPECT_STREQ("純資産の部合計", pages::EquityTotalCaption(255));
    EXPECT_STREQ("売上原価のうち", pages::kCostOfSalesCaption);
}

TEST(Page2Lines, FindStatementLineTakesTheFirstOccurrenceAndReportsAMissingLine) {
    const StatementLines lines = Lines({{4, "first"}, {4, "second"}});
    ASSERT_NE(nullptr, pages::FindStatementLine(lines, 4));
    EXPECT_EQ("first", pages::FindStatementLine(lines, 4)->name);
    EXPECT_EQ(nullptr, pages::FindStatementLine(lines, 5));
}

// The template's rectangles in pixels, as a dialog of a 6 x 13 pixel average character gives.
std::map<int, ControlRect> TemplateRects() {
    std::map<int, ControlRect> rects;
    for (const auto& control : Page2Template().controls) {
        const int left = control.left * 6 / 4;
        const int top = control.top * 13 / 8;
        rects[control.id] = {left, top, left + control.width * 6 / 4,
                             top + control.height * 13 / 8};
    }
    return rects;
}

TEST(Page2Relayout, LinesNineteenAndTwentyTopTheRightColumnAndTheRestMovesDown) {
    std::map<int, ControlRect> rects = TemplateRects();
    const std::map<int, ControlRect> before = rects;
    const auto relayout = pages::RelayoutMainAccountsPage(rects);
    ASSERT_TRUE(relayout.has_value());
    EXPECT_EQ((std::vector<int>{IDC_P2_EXTRAORDINARY_GAINS, IDC_P2_EXTRAORDINARY_LOSSES}),
              relayout->shown);
    EXPECT_EQ((std::vector<int>{IDC_P2_EXTRAORDINARY_RESULT}), relayout->hidden);

    std::vector<int> order;
    for (const auto& move : relayout->moves) {
        order.push_back(move.controlId);
        ControlRect& rect = rects[move.controlId];
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        rect = {move.left, move.top, move.left + width, move.top + height};
    }
    const std::vector<int> expectedOrder = {1024, 1060, 1062, 1035, 1044, 1045, 1053,
                                            1054, 1048, 1049, 1050, 1051, 1052, 1055,
                                            1056, 1057, 1058, 1061, 1063, 1064, 1065};
    EXPECT_EQ(expectedOrder, order);

    const int down = before.at(1049).top - before.at(1060).top;
    EXPECT_EQ(before.at(1045).left, rects.at(1024).left);
    EXPECT_EQ(before.at(1048).top, rects.at(1024).top);
    for (int id : expectedOrder) {
        if (id == 1024) {
            continue;
        }
        EXPECT_EQ(before.at(id).top + down, rects.at(id).top) << "control " << id;
        EXPECT_EQ(before.at(id).left, rects.at(id).left) << "control " << id;
    }
    // Line 19 above line 20 above "資産の部合計", none overlapping.
    EXPECT_LE(rects.at(1034).bottom, rects.at(1024).top);
    EXPECT_LE(rects.at(1024).bottom, rects.at(1060).top);
    // The label of line 18 takes the place of button 1047 in the left column.
    EXPECT_EQ(before.at(1047).left, rects.at(1025).left);
}

TEST(Page2Relayout, MissingMeasuredControlGivesNoRelayout) {
    std::map<int, ControlRect> rects = TemplateRects();
    rects.erase(IDC_P2_NOTES_RECEIVABLE);
    EXPECT_FALSE(pages::RelayoutMainAccountsPage(rects).has_value());
    rects = TemplateRects();
    rects.erase(IDC_P2_OTHER_LOANS);
    EXPECT_FALSE(pages::RelayoutMainAccountsPage(rects).has_value());
}

TEST(PageKeys, AltF4IsSwallowedEnterOnALineButtonPressesIt) {
    using pages::MessageKind;
    using pages::PageKeyAction;
    const sheet::Modifiers none{};
    const sheet::Modifiers alt{false, false, true};
    const sheet::Modifiers altShift{true, false, true};
    const sheet::Modifiers shift{true, false, false};

    EXPECT_EQ(PageKeyAction::kSwallow,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyF4, alt, false));
    EXPECT_EQ(PageKeyAction::kSwallow,
              pages::TranslatePageKey(MessageKind::kKeyUp, sheet::kKeyF4, alt, true));
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyF4, altShift, false));
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyF4, none, false));
    // Alt+S arrives as the character 's' (0x73): an access key, not F4.
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kChar, 0x73, alt, false));

    EXPECT_EQ(PageKeyAction::kPressButton,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyEnter, none, true));
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyEnter, shift, true));
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kKeyDown, sheet::kKeyEnter, none, false));
    EXPECT_EQ(PageKeyAction::kDefault,
              pages::TranslatePageKey(MessageKind::kKeyUp, sheet::kKeyEnter, none, true));
}

} // namespace
