// The account-mapping dialog's selection logic against an in-memory host's account master, with
// an in-memory list in place of the list view.
#include "ui/mapping_logic.h"

#include "aggregate/account_key.h"
#include "support/fake_host.h"
#include "support/host_accounts.h"
#include "support/list_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using mapping::AccountMapping;
using mapping::SyncMode;

constexpr std::uint32_t kCash = 0x80881000;
constexpr std::uint32_t kNotes = 0x80882000;

// One account of the host's master.
StKAMOKUINFO Account(unsigned char id, std::int32_t code, const std::string& name,
                     std::uint32_t kind, std::uint8_t hideFlag1 = 0, std::uint8_t hideFlag2 = 0) {
    StKAMOKUINFO account = testsupport::FakeHost::Account(id, code, name);
    account.set_kindCode(kind);
    account.set_hideFlag1(hideFlag1);
    account.set_hideFlag2(hideFlag2);
    return account;
}

// Cash and notes are the narrow list's kinds; 1160 and 1170 are hidden by a flag byte, 1130 has
// a sub-account, and 2110 / 2120 are liabilities. Names carry padding as hosts store them.
class MappingLogicTest : public ::testing::Test {
  protected:
    MappingLogicTest() {
        host.accounts = {
            Account(1, 11100000, "現金", kCash),
            Account(2, 11200000, "当座預金  ", kCash),
            Account(3, 11300000, "普通預金　　", kCash),
            Account(4, 11300001, "第一銀行", kCash),
            Account(5, 11400000, "定期　預金", kCash),
            Account(6, 11500000, "受取手形", kNotes),
            Account(7, 11600000, "売掛金", 0x80883000, 1),
            Account(8, 11700000, "商品", kCash, 0, 3),
            Account(9, 21100000, "支払手形", 0x80481000),
            Account(10, 21200000, std::string(87, 'A'), 0x80482000),
        };
    }

    std::string KeyOf(std::int32_t number) { return testsupport::KeyOfCode(host, number); }
    // The catalogue of the host's accounts as they stand now, as the run reads it.
    const AccountCatalogue& Catalogue() {
        EXPECT_EQ("ok", platform::LogLine(catalogue.Read(host)));
        return catalogue;
    }
    static void Add(MappingEntries& list, int lineNo, const std::string& key) {
        auto entry = std::make_unique<MappingEntry>();
        entry->lineNo = static_cast<std::int16_t>(lineNo);
        entry->key = key;
        list.push_back(std::move(entry));
    }
    // "line:number" per entry, the number found by key ("?" for a key without an account).
    std::string Describe(const MappingEntries& list) {
        std::string text;
        for (const auto& entry : list) {
            const std::int32_t code = testsupport::CodeOfKey(host, entry->key);
            text += (text.empty() ? "" : " ") + std::to_string(entry->lineNo) + ":" +
                    (code == -1 ? std::string("?") : std::to_string(code / 10000));
        }
        return text;
    }

    std::array<std::uint32_t, StatementLine::kKindCodes> narrowKinds{kCash, kNotes};
    std::array<std::uint32_t, StatementLine::kKindCodes> noKinds{};
    MappingEntries mappings;
    MappingEntries defaults;
    testsupport::ListView view;
    testsupport::FakeHost host;
    AccountCatalogue catalogue;
};

TEST_F(MappingLogicTest, WithoutKindCodesEveryVisibleMainAccountIsListedTrimmedAndUnchecked) {
    AccountMapping dialog(host, Catalogue(), 5, noKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    EXPECT_FALSE(view.allAccounts);
    EXPECT_EQ("1110 1120 1130 1140 1150 2110 2120", view.Shown());
    ASSERT_EQ(7u, view.rows.size());
    EXPECT_EQ("当座預金", view.rows[1].name);
    EXPECT_EQ("普通預金", view.rows[2].name) << "full-width padding goes";
    EXPECT_EQ("定期　預金", view.rows[3].name) << "a blank inside the name stays";
    EXPECT_EQ(std::string(87, 'A'), view.rows[6].name) << "the longest name the host holds";
    dialog.ApplySelection();
    EXPECT_EQ("", Describe(mappings)) << "nothing checked, nothing mapped";
}

TEST_F(MappingLogicTest, OpensNarrowWithTheLinesAccountsChecked) {
    Add(mappings, 4, KeyOf(1110));
    Add(mappings, 18, KeyOf(1140));
    Add(mappings, 18, KeyOf(1110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    EXPECT_FALSE(view.allAccounts);
    EXPECT_EQ("1110* 1120 1130 1140* 1150", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("4:1110 18:1110 18:1140", Describe(mappings)) << "rows from the top";
}

TEST_F(MappingLogicTest, MappedAccountOfAnotherKindWidensTheList) {
    Add(mappings, 18, KeyOf(1150));
    Add(mappings, 18, KeyOf(2110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    EXPECT_TRUE(view.allAccounts);
    EXPECT_EQ("1110 1120 1130 1140 1150* 2110* 2120", view.Shown());
}

TEST_F(MappingLogicTest, KeysWithoutAListedAccountAreNeverCheckedAndGoOnApply) {
    Add(mappings, 18, "URIAGEDAKA");
    Add(mappings, 18, KeyOf(1160)); // hidden by the first flag byte
    Add(mappings, 18, "0x000000000000000000000000000000ff");
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    EXPECT_FALSE(view.allAccounts);
    EXPECT_EQ("1110 1120 1130 1140 1150", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("", Describe(mappings));
}

TEST_F(MappingLogicTest, ToggleOffAndOnKeepsACheckedAccountTheNarrowListDoesNotShow) {
    Add(mappings, 18, KeyOf(2120));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    ASSERT_TRUE(view.allAccounts);
    view.Check("1120");

    view.allAccounts = false;
    dialog.ToggleAllAccounts();
    EXPECT_EQ("1110 1120* 1130 1140 1150", view.Shown());

    view.allAccounts = true;
    dialog.ToggleAllAccounts();
    EXPECT_EQ("1110 1120* 1130 1140 1150 2110 2120*", view.Shown());

    dialog.ApplySelection();
    EXPECT_EQ("18:1120 18:2120", Describe(mappings)) << "rows from the top";
}

TEST_F(MappingLogicTest, ApplyPutsUnshownChoicesFirstThenCheckedRowsAtTheEndOfTheList) {
    Add(mappings, 18, KeyOf(2110));
    Add(mappings, 3, KeyOf(1110));
    Add(mappings, 18, KeyOf(2120));
    Add(mappings, 18, KeyOf(1150));
    Add(mappings, 9, "URIAGEDAKA");
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    view.allAccounts = false;
    dialog.ToggleAllAccounts();
    ASSERT_EQ("1110 1120 1130 1140 1150*", view.Shown());
    view.Check("1130");
    dialog.ApplySelection();
    EXPECT_EQ("3:1110 9:? 18:2110 18:2120 18:1130 18:1150", Describe(mappings));
}

TEST_F(MappingLogicTest, TwoEntriesOfTheLineAtTheFrontAreBothRemoved) {
    Add(mappings, 18, KeyOf(1110));
    Add(mappings, 18, KeyOf(1120));
    Add(mappings, 4, KeyOf(1130));
    Add(mappings, 18, "SISAN");
    Add(mappings, 18, KeyOf(1150));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    for (auto& row : view.rows) {
        row.checked = false;
    }
    dialog.ApplySelection();
    EXPECT_EQ("4:1130", Describe(mappings));
}

TEST_F(MappingLogicTest, CheckAllAccountsThenSetMapsEveryListedAccountOnceInMasterOrder) {
    Add(mappings, 18, KeyOf(1120));
    Add(mappings, 2, KeyOf(1110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    dialog.RunMenuCommand(mapping::kMenuCheckAll);
    EXPECT_TRUE(view.allAccounts);
    EXPECT_EQ("1110* 1120* 1130* 1140* 1150* 2110* 2120*", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("2:1110 18:1110 18:1120 18:1130 18:1140 18:1150 18:2110 18:2120", Describe(mappings));
}

TEST_F(MappingLogicTest, UncheckAllAccountsThenSetLeavesTheLineWithoutEntries) {
    Add(mappings, 18, KeyOf(2110));
    Add(mappings, 18, KeyOf(1110));
    Add(mappings, 5, KeyOf(1110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    view.allAccounts = false;
    dialog.ToggleAllAccounts();
    dialog.RunMenuCommand(mapping::kMenuUncheckAll);
    EXPECT_FALSE(view.allAccounts) << "entry 5 leaves the box";
    EXPECT_EQ("1110 1120 1130 1140 1150", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("5:1110", Describe(mappings));
}

TEST_F(MappingLogicTest, DisplayedEntriesCheckAndUncheckOnlyTheRowsShown) {
    Add(mappings, 18, KeyOf(2110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    view.allAccounts = false;
    dialog.ToggleAllAccounts();
    dialog.RunMenuCommand(mapping::kMenuCheckDisplayed);
    EXPECT_EQ("1110* 1120* 1130* 1140* 1150*", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("18:2110 18:1110 18:1120 18:1130 18:1140 18:1150", Describe(mappings));
    dialog.RunMenuCommand(mapping::kMenuUncheckDisplayed);
    EXPECT_EQ("1110 1120 1130 1140 1150", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("18:2110", Describe(mappings));
    dialog.RunMenuCommand(0); // the menu dismissed
    dialog.ApplySelection();
    EXPECT_EQ("18:2110", Describe(mappings));
}

TEST_F(MappingLogicTest, RestoreDefaultsChoosesTheDefaultsIncludingUnshownOnes) {
    Add(defaults, 18, KeyOf(1150));
    Add(defaults, 4, KeyOf(1120));
    Add(defaults, 18, "SOREIGAI");
    Add(defaults, 18, KeyOf(2110));
    Add(defaults, 18, KeyOf(1110));
    Add(mappings, 18, KeyOf(1130));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    ASSERT_EQ("1110 1120 1130* 1140 1150", view.Shown());
    dialog.RunMenuCommand(mapping::kMenuRestoreDefaults);
    EXPECT_FALSE(view.allAccounts);
    EXPECT_EQ("1110* 1120 1130 1140 1150*", view.Shown());
    dialog.ApplySelection();
    EXPECT_EQ("18:2110 18:1110 18:1150", Describe(mappings))
        << "the key without an account adds nothing";
    EXPECT_EQ(5u, defaults.size()) << "the defaults are only read";
}

TEST_F(MappingLogicTest, FindDisplayedAccountTakesNumbersAndCodes) {
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    ASSERT_TRUE(dialog.FindDisplayedAccount(1140).has_value());
    EXPECT_EQ(11400000, dialog.FindDisplayedAccount(1140)->code());
    EXPECT_EQ(11400000, dialog.FindDisplayedAccount(11400000)->code());
    EXPECT_FALSE(dialog.FindDisplayedAccount(2110).has_value()) << "not in the narrow list";
    EXPECT_FALSE(dialog.FindDisplayedAccount(11300001).has_value()) << "a sub-account";
    EXPECT_FALSE(dialog.FindDisplayedAccount(0).has_value());
}

TEST_F(MappingLogicTest, TheHostIsAskedOnlyForTheLinesKindsOncePerOpening) {
    Add(mappings, 18, KeyOf(2110));
    Add(defaults, 18, KeyOf(1110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    const int callsBefore = host.calls;
    ASSERT_EQ("ok", platform::LogLine(dialog.Open()));
    for (const bool all : {false, true, false}) {
        view.allAccounts = all;
        dialog.ToggleAllAccounts();
    }
    for (int command = mapping::kMenuRestoreDefaults; command <= mapping::kMenuUncheckAll;
         ++command) {
        dialog.RunMenuCommand(command);
    }
    dialog.ApplySelection();

    // The lookups and the list of every account come from the catalogue.
    EXPECT_EQ(std::vector<std::string>({"ForEachAccount", "ForEachAccount end"}),
              std::vector<std::string>(host.callLog.begin() + callsBefore, host.callLog.end()));
    EXPECT_EQ(host.accountWalks, host.accountWalksEnded);
}

TEST_F(MappingLogicTest, AFindThatTheHostRefusesListsNothingAndSaysWhy) {
    Add(mappings, 18, KeyOf(2110));
    AccountMapping dialog(host, Catalogue(), 18, narrowKinds, mappings, defaults, view);
    host.failCall = host.calls + 1;
    EXPECT_EQ("host-refused step=ForEachAccount code=7", platform::LogLine(dialog.Open()));
    EXPECT_EQ("", view.Shown());
    EXPECT_FALSE(view.allAccounts) << "no mapped account is found outside the list";
}

// The selection after a pass over the rows, one row at a time, as the rule reads.
std::vector<std::int32_t> SelectionAfterRowsOneByOne(std::vector<std::int32_t> selection,
                                                     const testsupport::ListView& view) {
    for (const testsupport::ListView::Row& row : view.rows) {
        const std::int32_t number = std::stoi(row.number);
        const auto found = std::find(selection.begin(), selection.end(), number);
        if (found != selection.end())
            selection.erase(found);
        if (row.checked)
            selection.push_back(number);
    }
    return selection;
}

TEST(MappingSelection, APassOverTheRowsKeepsTheOrderOfTheRuleWithRepeatedNumbers) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        // Few numbers, so that rows and the selection repeat them.
        std::uniform_int_distribution<int> number(1, 6);
        testsupport::ListView view;
        const int rows = static_cast<int>(random() % 12);
        for (int row = 0; row < rows; ++row) {
            view.AppendRow(std::to_string(number(random)), "");
            view.rows.back().checked = random() % 2 == 0;
        }
        std::vector<std::int32_t> selection;
        const int chosen = static_cast<int>(random() % 10);
        for (int at = 0; at < chosen; ++at)
            selection.push_back(number(random));
        EXPECT_EQ(SelectionAfterRowsOneByOne(selection, view),
                  mapping::SelectionAfterRows(selection, view))
            << "round " << round << ": rows " << view.Shown();
    }
}

TEST(MappingTrim, DropsTrailingHalfAndFullWidthBlanksOnly) {
    using mapping::TrimAccountName;
    EXPECT_EQ("普通預金", TrimAccountName("普通預金　 　 "));
    EXPECT_EQ("定期　預金", TrimAccountName("定期　預金　"));
    EXPECT_EQ(" 現金", TrimAccountName(" 現金"));
    EXPECT_EQ("", TrimAccountName("　  　"));
    EXPECT_EQ("", TrimAccountName(""));
    // ａ is 82 81: with '@' (40) after it, the bytes 81 40 are not a full-width space.
    EXPECT_EQ("ａ@", TrimAccountName("ａ@"));
    // A lead byte cut off at the end of the text stays as it is.
    EXPECT_EQ("A\x82", TrimAccountName(std::string_view("A\x82", 2)));
}

TEST(MappingTrim, HandlesNamesLongerThanAnyFixedBuffer) {
    std::string name;
    for (int i = 0; i < 20000; ++i) {
        name += "科";
    }
    const std::string expected = name;
    for (int i = 0; i < 5000; ++i) {
        name += "　 ";
    }
    const std::string trimmed = mapping::TrimAccountName(name);
    EXPECT_EQ(expected.size(), trimmed.size());
    EXPECT_EQ(expected, trimmed);
}

TEST(MappingColumns, ThreeToElevenFillingTheClientWidth) {
    const auto narrow = mapping::AccountColumnWidths(141);
    EXPECT_EQ(30, narrow.code);
    EXPECT_EQ(111, narrow.name);
    for (int width : {0, 13, 14, 15, 246, 300}) {
        const auto columns = mapping::AccountColumnWidths(width);
        EXPECT_EQ(width, columns.code + columns.name) << "width " << width;
        EXPECT_EQ(3 * (width / 14), columns.code) << "width " << width;
    }
}

TEST(MappingMenu, FiveEntriesWithTheirTextsInOrder) {
    const char* const texts[] = {"デフォルトのチェック状態に戻す",
                                 "表示されている科目を全てチェック",
                                 "表示されている科目のチェックを全てはずす", "全ての科目をチェック",
                                 "全ての科目のチェックをはずす"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(i + 1, mapping::kMenuEntries[i].command);
        EXPECT_STREQ(texts[i], mapping::kMenuEntries[i].text) << "entry " << i + 1;
    }
}

TEST(MappingKeys, EnterWalksListBoxButtonAndF12AppliesWithoutModifiers) {
    using mapping::DialogFocus;
    using mapping::DialogKeyAction;
    using mapping::TranslateDialogKey;
    EXPECT_EQ(DialogKeyAction::kFocusAllAccountsCheck,
              TranslateDialogKey(0x0D, sheet::Modifiers{false, false, false}, DialogFocus::kList));
    EXPECT_EQ(DialogKeyAction::kFocusApplyButton,
              TranslateDialogKey(0x0D, sheet::Modifiers{false, false, false},
                                 DialogFocus::kAllAccountsCheck));
    EXPECT_EQ(
        DialogKeyAction::kApply,
        TranslateDialogKey(0x0D, sheet::Modifiers{false, false, false}, DialogFocus::kApplyButton));
    EXPECT_EQ(DialogKeyAction::kDefault,
              TranslateDialogKey(0x0D, sheet::Modifiers{false, false, false}, DialogFocus::kOther));
    EXPECT_EQ(DialogKeyAction::kApply,
              TranslateDialogKey(0x7B, sheet::Modifiers{false, false, false}, DialogFocus::kOther));
    EXPECT_EQ(DialogKeyAction::kDefault,
              TranslateDialogKey(0x7B, sheet::Modifiers{true, false, false}, DialogFocus::kOther));
    EXPECT_EQ(DialogKeyAction::kDefault,
              TranslateDialogKey(0x0D, sheet::Modifiers{false, true, false}, DialogFocus::kList));
    EXPECT_EQ(
        DialogKeyAction::kDefault,
        TranslateDialogKey(0x0D, sheet::Modifiers{false, false, true}, DialogFocus::kApplyButton));
    EXPECT_EQ(DialogKeyAction::kDefault,
              TranslateDialogKey(0x1B, sheet::Modifiers{false, false, false}, DialogFocus::kList));
}

} // namespace
