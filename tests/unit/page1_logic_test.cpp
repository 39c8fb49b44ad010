// Page 1: template 130, the file dialog's path split, the end-month conversion and the Enter
// chain.
#include "ui/page1_logic.h"

#include "platform/sjis.h"
#include "support/dialog_template.h"
#include "ui/resources/page1_ids.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using page1::Control;
using page1::EnterAction;

testsupport::DialogTemplate Page1() {
    const std::string folder = std::string(OVW_SOURCE_DIR) + "/ui/resources/";
    return testsupport::ReadDialogTemplate(
        folder + "page1.rc", testsupport::ReadIdHeader(folder + "page1_ids.h"), IDD_PAGE1);
}

struct Expected {
    int id;
    const char* kind;
    const char* text;
    int left, top, width, height;
};

TEST(Page1Template, EveryControlHasItsIdTextAndRectangle) {
    const auto page = Page1();
    EXPECT_EQ(249, page.width);
    EXPECT_EQ(265, page.height);
    EXPECT_EQ(u8"集計条件", page.caption);
    const Expected table[] = {
        {1009, "LTEXT", u8"事業所名", 7, 7, 39, 12},
        {1010, "LTEXT", u8" 会社名", 60, 7, 165, 12},
        {1011, "LTEXT", u8"会計期間", 7, 27, 39, 12},
        {1012, "LTEXT", u8" 2002/01/11\uFF5E2002/12/31", 60, 27, 165, 12},
        {1013, "LTEXT", u8"集計期間", 7, 47, 39, 12},
        {1014, "RTEXT", "??", 60, 47, 18, 12},
        {1015, "LTEXT", u8"月度", 84, 47, 17, 12},
        {1016, "CTEXT", u8"\uFF5E", 101, 47, 12, 12},
        {1002, "CONTROL", "", 115, 47, 18, 12},
        {1017, "LTEXT", u8"月度(&E)", 137, 47, 25, 12},
        {1003, "AUTOCHECKBOX", u8"税込みで集計する。(&Z)", 7, 71, 85, 12},
        {1018, "LTEXT", u8"事業種別(&J)", 104, 71, 43, 12},
        {1006, "CONTROL", "", 147, 71, 90, 121},
        {1019, "GROUPBOX", u8"出力先(&O)", 7, 100, 235, 35},
        {1008, "CONTROL", "", 11, 114, 164, 12},
        {1007, "PUSHBUTTON", u8"参照(&D)...", 179, 113, 57, 14},
    };
    for (const Expected& expected : table) {
        const auto* control = page.Find(expected.id);
        ASSERT_NE(nullptr, control) << "control " << expected.id;
        EXPECT_EQ(expected.kind, control->kind) << "control " << expected.id;
        EXPECT_EQ(expected.text, control->text) << "control " << expected.id;
        EXPECT_EQ(expected.left, control->left) << "control " << expected.id;
        EXPECT_EQ(expected.top, control->top) << "control " << expected.id;
        EXPECT_EQ(expected.width, control->width) << "control " << expected.id;
        EXPECT_EQ(expected.height, control->height) << "control " << expected.id;
    }
}

TEST(Page1Template, StylesOfTheFieldsAndTheUnusedControls) {
    const auto page = Page1();
    EXPECT_NE(std::string::npos, page.Find(1002)->style.find("ES_RIGHT"));
    EXPECT_NE(std::string::npos, page.Find(1002)->style.find("ES_NUMBER"));
    EXPECT_NE(std::string::npos, page.Find(1008)->style.find("ES_AUTOHSCROLL"));
    EXPECT_NE(std::string::npos, page.Find(1014)->style.find("SS_SUNKEN"));
    EXPECT_NE(std::string::npos, page.Find(1006)->style.find("CBS_DROPDOWNLIST"));
    for (int unused : {1006, 1018}) {
        EXPECT_NE(std::string::npos, page.Find(unused)->style.find("NOT WS_VISIBLE")) << unused;
        EXPECT_NE(std::string::npos, page.Find(unused)->style.find("WS_DISABLED")) << unused;
    }
}

TEST(Page1Template, SeparatorsAndUniqueIds) {
    const auto page = Page1();
    std::set<int> ids;
    int separators = 0;
    for (const auto& control : page.controls) {
        if (control.id == -1) {
            EXPECT_EQ(u8"\uFF1A", control.text);
            EXPECT_EQ(46, control.left);
            EXPECT_EQ(8, control.width);
            ++separators;
            continue;
        }
        EXPECT_TRUE(ids.insert(control.id).second) << "duplicate ID " << control.id;
    }
    EXPECT_EQ(3, separators);
}

TEST(Page1Template, AccessKeyCaptionsComeJustBeforeTheirControls) {
    // A caption's access key focuses the next control in the template.
    const auto page = Page1();
    auto next = [&](int id) {
        for (std::size_t i = 0; i + 1 < page.controls.size(); ++i)
            if (page.controls[i].id == id)
                return page.controls[i + 1].id;
        return 0;
    };
    EXPECT_EQ(IDC_P1_END_MONTH, next(IDC_P1_END_MONTH_UNIT));
    EXPECT_EQ(IDC_P1_OUTPUT_PATH, next(IDC_P1_OUTPUT_GROUP));
    EXPECT_EQ(IDC_P1_BUSINESS_TYPE, next(IDC_P1_BUSINESS_TYPE_CAPTION));
}

TEST(FindLastSingleByte, StepsOverDoubleByteCharacters) {
    EXPECT_EQ(6u, platform::FindLastSingleByte("C:\\out\\a.xml", '\\'));
    // 表 is 95 5C: its second byte is no separator.
    EXPECT_EQ(2u, platform::FindLastSingleByte("C:\\表", '\\'));
    EXPECT_EQ(std::string::npos, platform::FindLastSingleByte("表", '\\'));
    EXPECT_EQ(1u, platform::FindLastSingleByte("C:a.xml", ':'));
    EXPECT_EQ(std::string::npos, platform::FindLastSingleByte("", '\\'));
    // A lone lead byte at the end is still a byte of its own.
    EXPECT_EQ(std::string::npos, platform::FindLastSingleByte("a\x95", '\\'));
}

TEST(Page1SplitForBrowse, FolderUpToTheLastSeparatorThenTheColon) {
    auto split = page1::SplitForBrowse("C:\\data\\表\\ソ.xml");
    EXPECT_EQ("C:\\data\\表\\", split.folder);
    EXPECT_EQ("ソ.xml", split.fileName);

    split = page1::SplitForBrowse("C:\\out\\");
    EXPECT_EQ("C:\\out\\", split.folder);
    EXPECT_EQ("", split.fileName);

    split = page1::SplitForBrowse("D:report.xml");
    EXPECT_EQ("D:", split.folder);
    EXPECT_EQ("report.xml", split.fileName);

    split = page1::SplitForBrowse("report.xml");
    EXPECT_EQ("", split.folder);
    EXPECT_EQ("report.xml", split.fileName);

    split = page1::SplitForBrowse("C:\\表");
    EXPECT_EQ("C:\\", split.folder);
    EXPECT_EQ("表", split.fileName);

    split = page1::SplitForBrowse("");
    EXPECT_EQ("", split.folder);
    EXPECT_EQ("", split.fileName);
}

TEST(Page1EndMonthFromText, ReadsLeadingDigitsAsAtoiDoes) {
    EXPECT_EQ(3, page1::EndMonthFromText("3"));
    EXPECT_EQ(12, page1::EndMonthFromText("12"));
    EXPECT_EQ(0, page1::EndMonthFromText(""));
    EXPECT_EQ(0, page1::EndMonthFromText("x1"));
    EXPECT_EQ(7, page1::EndMonthFromText(" 7a"));
    EXPECT_EQ(-4, page1::EndMonthFromText("-4"));
    EXPECT_EQ(13, page1::EndMonthFromText("13"));
    // Kept in 16 bits as the record stores it; a long run of digits never overflows.
    EXPECT_EQ(static_cast<std::int16_t>(70000 - 65536), page1::EndMonthFromText("70000"));
    EXPECT_NO_FATAL_FAILURE(page1::EndMonthFromText(std::string(400, '9')));
}

TEST(Page1Enter, ChainFromEndMonthToBrowse) {
    const page1::EnterState open{true, true, false};
    EXPECT_EQ(EnterAction::FocusTaxIncluded, page1::DecideEnter(Control::EndMonth, open));
    EXPECT_EQ(EnterAction::FocusOutputPath, page1::DecideEnter(Control::TaxIncluded, open));
    EXPECT_EQ(EnterAction::FocusBrowse, page1::DecideEnter(Control::OutputPath, open));
    EXPECT_EQ(EnterAction::RunBrowse, page1::DecideEnter(Control::Browse, open));
    EXPECT_EQ(EnterAction::None, page1::DecideEnter(Control::Other, open));
}

TEST(Page1Enter, FixedOutputPathSendsTheCheckBoxToTheSheetButtons) {
    const page1::EnterState fixedOnPage1{false, false, false};
    EXPECT_EQ(EnterAction::FocusNext, page1::DecideEnter(Control::TaxIncluded, fixedOnPage1));
    EXPECT_EQ(EnterAction::None, page1::DecideEnter(Control::Browse, fixedOnPage1));
    const page1::EnterState previousEnabled{false, false, true};
    EXPECT_EQ(EnterAction::FocusPrevious,
              page1::DecideEnter(Control::TaxIncluded, previousEnabled));
    // Both output controls must be enabled for the chain to enter the path field.
    const page1::EnterState browseOnly{false, true, false};
    EXPECT_EQ(EnterAction::FocusNext, page1::DecideEnter(Control::TaxIncluded, browseOnly));
}

} // namespace
