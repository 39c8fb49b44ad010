// Page 3: the eight monthly line buttons of template 132 and their lines per generation.
#include "ui/page3_logic.h"

#include "support/dialog_template.h"
#include "ui/resources/page3_ids.h"

#include <gtest/gtest.h>

namespace {

using pages::LineControl;

TEST(Page3Template, EightPlaceholderButtonsTwentyUnitsApart) {
    const std::string folder = std::string(OVW_SOURCE_DIR) + "/ui/resources/";
    const auto page = testsupport::ReadDialogTemplate(
        folder + "page3.rc", testsupport::ReadIdHeader(folder + "page3_ids.h"), IDD_PAGE3);
    EXPECT_EQ(245, page.width);
    EXPECT_EQ(265, page.height);
    EXPECT_EQ(u8"月別売上等", page.caption);
    ASSERT_EQ(8u, page.controls.size());
    const auto& table = pages::MonthlyControls(FormGeneration::k16);
    for (std::size_t k = 0; k < 8; ++k) {
        const auto& control = page.controls[k];
        EXPECT_EQ("PUSHBUTTON", control.kind);
        EXPECT_EQ(table[k].controlId, control.id) << "button " << k;
        EXPECT_EQ(7, control.left);
        EXPECT_EQ(7 + 20 * static_cast<int>(k), control.top) << "button " << k;
        EXPECT_EQ(111, control.width);
        EXPECT_EQ(14, control.height);
    }
}

TEST(Page3Tables, ButtonsTakeTheGenerationsFirstEightMonthlyLines) {
    const auto& older = pages::MonthlyControls(FormGeneration::k16);
    const auto& newer = pages::MonthlyControls(FormGeneration::k30);
    ASSERT_EQ(8u, older.size());
    ASSERT_EQ(8u, newer.size());
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(older[k].controlId, newer[k].controlId);
        EXPECT_EQ(pages::LineControlKind::kButton, older[k].kind);
        EXPECT_EQ(36 + static_cast<int>(k), older[k].lineNo) << "button " << k;
        EXPECT_EQ(37 + static_cast<int>(k), newer[k].lineNo) << "button " << k;
    }
    EXPECT_EQ(IDC_P3_SPARE_3, older[7].controlId);
    EXPECT_EQ(43, older[7].lineNo);
    EXPECT_EQ(44, newer[7].lineNo);
}

TEST(Page3Captions, MissingAndPlaceholderMonthlyLines) {
    StatementLines lines;
    for (int lineNo : {37, 38, 39}) {
        auto line = std::make_unique<StatementLine>();
        line->lineNo = static_cast<std::int16_t>(lineNo);
        line->name = lineNo == 39 ? "-" : "月別売上";
        lines.push_back(std::move(line));
    }
    const auto captions =
        pages::CaptionLineControls(pages::MonthlyControls(FormGeneration::k30), lines);
    ASSERT_EQ(3u, captions.size());
    EXPECT_EQ(IDC_P3_MONTHLY_OUTSOURCING, captions[2].controlId);
    EXPECT_EQ("", captions[2].text);
    EXPECT_EQ(std::optional<bool>(false), captions[2].enabled);
    EXPECT_EQ(std::optional<bool>(true), captions[0].enabled);
}

} // namespace
