// The condition-entry sheet without windows: button bar layout, navigation, keyboard rules,
// the default output path, the nine Execute checks with their messages and focus placement,
// and Cancel.
#include "ui/condition_sheet_logic.h"

#include "settings/settings_file.h"
#include "settings/statement_files.h"
#include "support/fake_host.h"
#include "support/memory_filesystem.h"
#include "support/recording_desktop.h"
#include "support/user_guide.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sheet::KeyAction;
using sheet::Modifiers;

using Events = std::vector<std::string>;

// Records what the sheet was asked to do, in order. Given the file system and the settings
// folder, a close is preceded by "save" when a file was written into that folder since the last
// close (each save writes a temporary file there, which then replaces the settings file).
class RecordingView : public sheet::SheetView {
  public:
    RecordingView() = default;
    RecordingView(const testsupport::MemoryFileSystem& files, std::string settingsFolder)
        : files_(&files), settingsFolder_(std::move(settingsFolder)) {}
    std::vector<std::string> events;
    platform::WindowHandle Owner() override {
        return reinterpret_cast<platform::WindowHandle>(0x1234);
    }
    void FocusEndMonth() override { events.push_back("focus end month"); }
    void FocusOutputPath() override { events.push_back("focus output path"); }
    void BrowseOutputFile() override { events.push_back("browse"); }
    void Close(int result) override {
        if (files_ != nullptr) {
            const std::vector<std::string>& created = files_->CreatedLog();
            for (; seenCreations_ < created.size(); ++seenCreations_) {
                if (created[seenCreations_].rfind(settingsFolder_, 0) == 0) {
                    events.push_back("save");
                    seenCreations_ = created.size();
                    break;
                }
            }
        }
        events.push_back("close " + std::to_string(result));
    }

  private:
    const testsupport::MemoryFileSystem* files_ = nullptr;
    std::string settingsFolder_;
    std::size_t seenCreations_ = 0;
};

const unsigned kError = platform::kMbOk | platform::kMbIconExclamation;
const unsigned kQuestion = platform::kMbYesNo | platform::kMbIconQuestion;

class SheetExecute : public ::testing::Test {
  protected:
    SheetExecute() {
        files.AddStandardMachine();
        files.AddFolder("C:\\out");
        host.settingsFolder = "C:\\Settings\\";
        conditions.userId = "user";
        conditions.mappings = &mappings;
        // April to March, executed for the whole year.
        input.periodFirstMonth = 4;
        input.periodEndCode = 103;
        input.firstMonth = 4;
        input.endMonth = 3;
        input.introMonth = 1;
        input.outputPath = "C:\\out\\report.xml";
        // The start-up finds the settings folder where Execute saves.
        conditions.periodStart = 20240401;
        conditions.periodEnd = 20250331;
        files.AddFile("C:\\Program\\Def.dat", "[共通様式]\n1/URIAGEDAKA,\n[終了]\n");
        EXPECT_TRUE(controller.StartUp("C:\\Program\\Def.dat"));
        EXPECT_EQ("ok", platform::LogLine(controller.cause()));
    }

    // Runs Execute; true when it closed the sheet with kExecute.
    bool Execute() {
        const std::size_t before = view.events.size();
        controller.Execute(input);
        return view.events.size() > before && view.events.back() == "close 2000";
    }
    // The one message shown, checked for caption and owner.
    std::string OnlyMessage(unsigned style = kError) {
        EXPECT_EQ(1u, desktop.boxes.size());
        if (desktop.boxes.empty())
            return "";
        EXPECT_EQ("事業概況書", desktop.boxes[0].caption);
        EXPECT_EQ(view.Owner(), desktop.boxes[0].owner);
        EXPECT_EQ(style, desktop.boxes[0].style);
        return desktop.boxes[0].text;
    }

    testsupport::FakeHost host;
    AccountCatalogue accounts;
    testsupport::RecordingDesktop desktop;
    testsupport::MemoryFileSystem files;
    MappingEntries mappings;
    AggregationConditions conditions;
    RecordingView view{files, "C:\\Settings\\"};
    sheet::Controller controller{host, accounts, desktop, files, conditions, view};
    sheet::ExecuteInput input;
};

TEST(SheetButtonBar, QuartersOfTheClientWidthAtOneTwentyFirstAboveTheBottom) {
    const sheet::ButtonBar bar = sheet::LayOutButtonBar(400, 300);
    // e = (400 - 20) / 4 = 95
    EXPECT_EQ(8, bar.previous.left);
    EXPECT_EQ(97, bar.next.left);
    EXPECT_EQ(218, bar.execute.left);
    EXPECT_EQ(307, bar.cancel.left);
    for (const auto& place : {bar.previous, bar.next, bar.execute, bar.cancel})
        EXPECT_EQ(85, place.width);
    EXPECT_EQ(286, bar.top);

    const sheet::ButtonBar odd = sheet::LayOutButtonBar(423, 41);
    // e = 403 / 4 = 100 (rounded toward zero); top = 41 - 1
    EXPECT_EQ(102, odd.next.left);
    EXPECT_EQ(231, odd.execute.left);
    EXPECT_EQ(325, odd.cancel.left);
    EXPECT_EQ(90, odd.cancel.width);
    EXPECT_EQ(40, odd.top);

    // Below 20 pixels the division still rounds toward zero: e = -6 / 4 = -1.
    EXPECT_EQ(-11, sheet::LayOutButtonBar(14, 0).previous.width);
}

TEST(SheetNavigation, NextAndPreviousStopAtTheEnds) {
    EXPECT_EQ(1, sheet::NextPage(0));
    EXPECT_EQ(2, sheet::NextPage(1));
    EXPECT_EQ(2, sheet::NextPage(2));
    EXPECT_EQ(0, sheet::PreviousPage(0));
    EXPECT_EQ(0, sheet::PreviousPage(1));
    EXPECT_EQ(1, sheet::PreviousPage(2));

    EXPECT_FALSE(sheet::NavigationFor(0).previousEnabled);
    EXPECT_TRUE(sheet::NavigationFor(0).nextEnabled);
    EXPECT_TRUE(sheet::NavigationFor(1).previousEnabled);
    EXPECT_TRUE(sheet::NavigationFor(1).nextEnabled);
    EXPECT_TRUE(sheet::NavigationFor(2).previousEnabled);
    EXPECT_FALSE(sheet::NavigationFor(2).nextEnabled);
}

TEST(SheetKeys, FunctionKeysActAsTheirButtonsOnlyWithoutModifiers) {
    const Modifiers none;
    EXPECT_EQ(KeyAction::Previous, sheet::DecideKey(true, true, sheet::kKeyF5, none, 0));
    EXPECT_EQ(KeyAction::Next, sheet::DecideKey(true, true, sheet::kKeyF6, none, 0));
    EXPECT_EQ(KeyAction::Execute, sheet::DecideKey(true, true, sheet::kKeyF12, none, 0));
    EXPECT_EQ(KeyAction::Cancel, sheet::DecideKey(true, true, sheet::kKeyEscape, none, 0));
    EXPECT_EQ(KeyAction::PassOn, sheet::DecideKey(true, true, 'A', none, 0));
    for (Modifiers held : {Modifiers{true, false, false}, Modifiers{false, true, false},
                           Modifiers{false, false, true}}) {
        for (unsigned key :
             {sheet::kKeyF5, sheet::kKeyF6, sheet::kKeyF12, sheet::kKeyEscape, sheet::kKeyEnter})
            EXPECT_EQ(KeyAction::PassOn, sheet::DecideKey(true, true, key, held, sheet::kExecute))
                << "key " << key << " shift " << held.shift << " ctrl " << held.ctrl << " alt "
                << held.alt;
    }
    // Key-up and other messages pass.
    EXPECT_EQ(KeyAction::PassOn, sheet::DecideKey(true, false, sheet::kKeyF12, none, 0));
    EXPECT_EQ(KeyAction::PassOn, sheet::DecideKey(false, false, sheet::kKeyF12, none, 0));
}

TEST(SheetKeys, EnterPressesTheFocusedBarButtonAndIsAlwaysSwallowed) {
    const Modifiers none;
    EXPECT_EQ(KeyAction::Execute,
              sheet::DecideKey(true, true, sheet::kKeyEnter, none, sheet::kExecute));
    EXPECT_EQ(KeyAction::Cancel,
              sheet::DecideKey(true, true, sheet::kKeyEnter, none, sheet::kCancel));
    EXPECT_EQ(KeyAction::Next, sheet::DecideKey(true, true, sheet::kKeyEnter, none, sheet::kNext));
    EXPECT_EQ(KeyAction::Previous,
              sheet::DecideKey(true, true, sheet::kKeyEnter, none, sheet::kPrevious));
    EXPECT_EQ(KeyAction::Swallow, sheet::DecideKey(true, true, sheet::kKeyEnter, none, 0));
}

TEST(SheetKeys, AltF4IsSwallowedButNotWithShiftOrCtrl) {
    const Modifiers alt{false, false, true};
    EXPECT_EQ(KeyAction::Swallow, sheet::DecideKey(true, false, sheet::kKeyF4, alt, 0));
    EXPECT_EQ(KeyAction::Swallow, sheet::DecideKey(true, true, sheet::kKeyF4, alt, 0));
    EXPECT_EQ(KeyAction::PassOn,
              sheet::DecideKey(true, false, sheet::kKeyF4, Modifiers{true, false, true}, 0));
    EXPECT_EQ(KeyAction::PassOn,
              sheet::DecideKey(true, false, sheet::kKeyF4, Modifiers{false, true, true}, 0));
    EXPECT_EQ(KeyAction::PassOn, sheet::DecideKey(true, true, sheet::kKeyF4, Modifiers{}, 0));
    EXPECT_FALSE(sheet::IsAltF4(false, sheet::kKeyF4, alt));
}

TEST(SheetDefaultOutputPath, HostFolderOrTemporaryFolderThenPattern) {
    EXPECT_EQ("D:\\Out\\*.xml", sheet::DefaultOutputPath("D:\\Out\\", "C:\\Temp\\"));
    // The host's folder is taken as it is, directly followed by the pattern.
    EXPECT_EQ("D:\\Out*.xml", sheet::DefaultOutputPath("D:\\Out", "C:\\Temp\\"));
    EXPECT_EQ("C:\\Temp\\*.xml", sheet::DefaultOutputPath("", "C:\\Temp"));
    EXPECT_EQ("C:\\Temp\\*.xml", sheet::DefaultOutputPath("", "C:\\Temp\\"));
    // 表 ends in 5C: a separator is still added.
    EXPECT_EQ("C:\\表\\*.xml", sheet::DefaultOutputPath("", "C:\\表"));
    EXPECT_EQ("", sheet::DefaultOutputPath("", std::string(260, 'a')));
}

class SheetStartUp : public ::testing::Test {
  protected:
    SheetStartUp() {
        files.AddStandardMachine();
        files.AddFolder("C:\\Settings");
        files.AddFile("C:\\Program\\Def.dat",
                      "[共通様式]\n1/URIAGEDAKA,\n4/URIAGEGENKA,\n[終了]\n");
        conditions.userId = "user";
        conditions.selectionNo1 = 1;
        conditions.selectionNo2 = 2;
        conditions.mappings = &mappings;
        values.periodFirstMonth = 4;
        values.periodEndCode = 103;
        values.hostTaxIncluded = 1;
        values.hostOutputFolder = "D:\\Out\\";
        values.settingsFolder = "C:\\Settings\\";
        values.tempFolder = "C:\\Temp\\";
        values.defaultMappingPath = "C:\\Program\\Def.dat";
    }
    // The cause of defaults that could not be read.
    std::string Prepare() {
        return platform::LogLine(sheet::PrepareConditions(
            conditions, files, values, [](std::int32_t, std::string&) { return false; }));
    }
    void SaveSettingsFile(const std::string& text) {
        files.AddFile("C:\\Settings\\" + SettingsFileName(conditions), text);
    }

    testsupport::MemoryFileSystem files;
    MappingEntries mappings;
    AggregationConditions conditions;
    sheet::StartUpValues values;
};

TEST_F(SheetStartUp, WithoutSettingsTheHostAndTheDefaultsApply) {
    EXPECT_EQ("ok", Prepare());
    EXPECT_EQ(0, conditions.outputPathFixed);
    EXPECT_EQ(4, conditions.firstMonth);
    EXPECT_EQ(3, conditions.endMonth);
    EXPECT_EQ(1, conditions.taxIncluded);
    EXPECT_EQ("D:\\Out\\*.xml", conditions.outputPath);
    ASSERT_EQ(2u, conditions.defaultMappings.size());
    ASSERT_EQ(2u, mappings.size());
    EXPECT_EQ(4, mappings[1]->lineNo);
    EXPECT_EQ("URIAGEGENKA", mappings[1]->key);

    values.hostOutputFolder.clear();
    values.hostTaxIncluded = 0;
    conditions.outputPath.clear();
    EXPECT_EQ("ok", Prepare());
    EXPECT_EQ("C:\\Temp\\*.xml", conditions.outputPath);
    EXPECT_EQ(0, conditions.taxIncluded);
}

TEST_F(SheetStartUp, SavedSettingsWin) {
    SaveSettingsFile("[P1]\n8/0/0/C:\\out\\a.xml\n[終了]\n[P2/P3]\n5/GENKIN[END]\n[終了]\n");
    EXPECT_EQ("ok", Prepare());
    EXPECT_EQ(8, conditions.endMonth);
    EXPECT_EQ(0, conditions.taxIncluded);
    EXPECT_EQ("C:\\out\\a.xml", conditions.outputPath);
    ASSERT_EQ(1u, mappings.size());
    EXPECT_EQ("GENKIN", mappings[0]->key);
    EXPECT_EQ(2u, conditions.defaultMappings.size());
}

TEST_F(SheetStartUp, MissingMappingPartKeepsTheMonthAndPathButResetsTaxAndMappings) {
    SaveSettingsFile("[P1]\n8/0/0/C:\\out\\a.xml\n[終了]\n");
    EXPECT_EQ("ok", Prepare());
    EXPECT_EQ(8, conditions.endMonth);
    EXPECT_EQ(1, conditions.taxIncluded);
    EXPECT_EQ("C:\\out\\a.xml", conditions.outputPath);
    EXPECT_EQ(2u, mappings.size());
}

TEST_F(SheetStartUp, HostFixedPathStaysAndIsMarkedFixed) {
    SaveSettingsFile("[P1]\n8/0/0/C:\\out\\a.xml\n[終了]\n[P2/P3]\n[終了]\n");
    conditions.outputPath = "E:\\host\\fixed.xml";
    EXPECT_EQ("ok", Prepare());
    EXPECT_EQ(1, conditions.outputPathFixed);
    EXPECT_EQ("E:\\host\\fixed.xml", conditions.outputPath);
    EXPECT_EQ("C:\\out\\a.xml", conditions.savedOutputPath);
    EXPECT_TRUE(mappings.empty());
}

TEST_F(SheetExecute, ValidConditionsSaveAndCloseWithExecute) {
    EXPECT_TRUE(Execute());
    EXPECT_TRUE(desktop.boxes.empty()) << desktop.boxes[0].text;
    EXPECT_EQ((Events{"save", "close 2000"}), view.events);
}

TEST_F(SheetExecute, EveryEndMonthOfTheFiscalYearPasses) {
    for (std::int16_t month = 1; month <= 12; ++month) {
        input.endMonth = month;
        view.events.clear();
        EXPECT_TRUE(Execute()) << "end month " << month;
    }
    input.periodFirstMonth = 1;
    input.periodEndCode = 12;
    input.firstMonth = 1;
    for (std::int16_t month = 1; month <= 12; ++month) {
        input.endMonth = month;
        EXPECT_TRUE(Execute()) << "January to December, end month " << month;
    }
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SheetExecute, PeriodMessageFocusesTheEndMonth) {
    for (std::int16_t month : {0, 13, -1, 99}) {
        desktop.boxes.clear();
        view.events.clear();
        input.endMonth = month;
        EXPECT_FALSE(Execute()) << "end month " << month;
        EXPECT_EQ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。",
                  OnlyMessage());
        EXPECT_EQ((Events{"focus end month"}), view.events);
    }
}

TEST_F(SheetExecute, MonthsOutsideAShortFirstPeriodFail) {
    // A first period from July to March: April to June are not in it.
    input.periodFirstMonth = 7;
    input.firstMonth = 7;
    for (std::int16_t month : {7, 12, 1, 3}) {
        input.endMonth = month;
        EXPECT_TRUE(Execute()) << "end month " << month;
    }
    for (std::int16_t month : {4, 5, 6}) {
        input.endMonth = month;
        EXPECT_FALSE(Execute()) << "end month " << month;
    }
    // Within one calendar year: March to September.
    input.periodFirstMonth = 3;
    input.periodEndCode = 9;
    input.firstMonth = 3;
    input.endMonth = 10;
    EXPECT_FALSE(Execute());
    input.endMonth = 2;
    EXPECT_FALSE(Execute());
    input.endMonth = 9;
    EXPECT_TRUE(Execute());
    EXPECT_EQ(5u, desktop.boxes.size());
}

TEST_F(SheetExecute, EndMonthBeforeTheIntroductionMonthFails) {
    // Introduction in the sixth month (September): August is the fifth.
    input.introMonth = 6;
    input.endMonth = 8;
    EXPECT_FALSE(Execute());
    EXPECT_EQ("集計期間には、導入開始月より前は指定できません。", OnlyMessage());
    EXPECT_EQ((Events{"focus end month"}), view.events);

    desktop.boxes.clear();
    view.events.clear();
    input.endMonth = 9;
    EXPECT_TRUE(Execute());
    // March is the twelfth month, after the year end.
    input.introMonth = 12;
    input.endMonth = 3;
    EXPECT_TRUE(Execute());
    input.endMonth = 2;
    EXPECT_FALSE(Execute());
}

TEST_F(SheetExecute, EmptyPathOpensTheFileDialog) {
    input.outputPath.clear();
    EXPECT_FALSE(Execute());
    EXPECT_EQ("データ出力先が指定されていません。\n\n出力先を指定してください。", OnlyMessage());
    EXPECT_EQ((Events{"browse"}), view.events);
}

TEST_F(SheetExecute, InvalidCharactersIncludingTheDefaultPattern) {
    for (const char* path :
         {"C:\\out\\*.xml", "C:\\out\\a?.xml", "C:\\out\\\\a.xml", "C:\\o|t\\a.xml"}) {
        desktop.boxes.clear();
        view.events.clear();
        input.outputPath = path;
        EXPECT_FALSE(Execute()) << path;
        EXPECT_EQ("データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。",
                  OnlyMessage())
            << path;
        EXPECT_EQ((Events{"focus output path"}), view.events) << path;
    }
}

TEST_F(SheetExecute, InvalidDrive) {
    files.AddDrive('E', platform::kDriveCdRom);
    for (const char* path : {"E:\\a.xml", "1:\\a.xml", "\\out\\a.xml"}) {
        desktop.boxes.clear();
        view.events.clear();
        input.outputPath = path;
        EXPECT_FALSE(Execute()) << path;
        EXPECT_EQ("ドライブ名が有効でありません。\n\n有効なドライブを指定してください。",
                  OnlyMessage())
            << path;
        EXPECT_EQ((Events{"focus output path"}), view.events) << path;
    }
}

TEST_F(SheetExecute, PathEndingInASeparatorHasNoFileName) {
    input.outputPath = "C:\\out\\";
    EXPECT_FALSE(Execute());
    EXPECT_EQ("ファイル名が指定されていません。", OnlyMessage());
    EXPECT_EQ((Events{"focus output path"}), view.events);
}

TEST_F(SheetExecute, DriveAndFileNameWithoutSeparatorSkipsTheFolderStep) {
    input.outputPath = "C:report.xml";
    EXPECT_TRUE(Execute());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SheetExecute, FileNameEndingInA5CTrailByteIsAFileName) {
    input.outputPath = "C:\\out\\表";
    EXPECT_TRUE(Execute());
    EXPECT_TRUE(desktop.boxes.empty()) << desktop.boxes[0].text;
}

TEST_F(SheetExecute, MissingFolderAnsweredNoCreatesNothing) {
    input.outputPath = "C:\\new\\sub\\report.xml";
    const auto before = files.Tree();
    desktop.answers = {platform::kIdNo};
    EXPECT_FALSE(Execute());
    EXPECT_EQ("指定されたフォルダは存在しません。\n\n作成してもよろしいですか？",
              OnlyMessage(kQuestion));
    EXPECT_EQ((Events{"focus output path"}), view.events);
    EXPECT_EQ(before, files.Tree());
}

TEST_F(SheetExecute, MissingFolderAnsweredYesIsCreated) {
    input.outputPath = "C:\\new\\表\\report.xml";
    desktop.answers = {platform::kIdYes};
    EXPECT_TRUE(Execute());
    EXPECT_EQ(1u, desktop.boxes.size());
    EXPECT_TRUE(files.DirectoryExists("C:\\new\\表\\"));
    EXPECT_EQ((Events{"save", "close 2000"}), view.events);
}

TEST_F(SheetExecute, FailedFolderCreationLeavesNothingBehind) {
    input.outputPath = "C:\\new\\sub\\report.xml";
    files.FailCreationOf("C:\\new\\sub");
    const auto before = files.Tree();
    desktop.answers = {platform::kIdYes};
    EXPECT_FALSE(Execute());
    ASSERT_EQ(2u, desktop.boxes.size());
    EXPECT_EQ("フォルダの作成に失敗しました。\n\n出力先を再入力してください。",
              desktop.boxes[1].text);
    EXPECT_EQ(kError, desktop.boxes[1].style);
    EXPECT_EQ((Events{"focus output path"}), view.events);
    EXPECT_EQ(before, files.Tree());
}

TEST_F(SheetExecute, ExistingFolderAtThePathHasNoFileName) {
    files.AddFolder("C:\\out\\report.xml");
    EXPECT_FALSE(Execute());
    EXPECT_EQ("ファイル名が指定されていません。", OnlyMessage());
    EXPECT_EQ((Events{"focus output path"}), view.events);
}

TEST_F(SheetExecute, ExistingFileAsksToOverwrite) {
    files.AddFile("C:\\out\\report.xml", "old");
    desktop.answers = {platform::kIdNo};
    EXPECT_FALSE(Execute());
    EXPECT_EQ("同名のファイルが存在します。\n\n上書きしてもよろしいですか？",
              OnlyMessage(kQuestion));
    EXPECT_EQ((Events{"focus output path"}), view.events);

    view.events.clear();
    desktop.answers = {platform::kIdYes};
    EXPECT_TRUE(Execute());
    EXPECT_EQ((Events{"save", "close 2000"}), view.events);
    EXPECT_EQ("old", files.FileBytes("C:\\out\\report.xml"));
}

TEST_F(SheetExecute, HostFixedPathIsNeverQuestioned) {
    files.AddFile("C:\\out\\report.xml", "old");
    input.outputPathFixed = true;
    EXPECT_TRUE(Execute());
    EXPECT_TRUE(desktop.boxes.empty()) << desktop.boxes[0].text;
}

// What the user guide says of the overwrite question is what Execute does, with the output path
// chosen by the user and with the one the host named.
TEST_F(SheetExecute, TheGuideSaysWhenTheOverwriteQuestionIsAsked) {
    files.AddFile("C:\\out\\report.xml", "old");
    const auto asks = [this](bool outputPathFixed) {
        desktop.boxes.clear();
        desktop.answers = {platform::kIdNo};
        input.outputPathFixed = outputPathFixed;
        Execute();
        return !desktop.boxes.empty() &&
               desktop.boxes[0].text ==
                   "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
    };
    testsupport::ExpectGuideSays({"Execute asks before overwriting a file the user named",
                                  u8"同じ名前のファイルがあるときは、「実行(F12)"
                                  u8"」を押したときに、上書きしてよいか確認します。",
                                  u8"同じ名前のファイルがあるときも、確認せずに上書きします。"},
                                 asks(false));
    testsupport::ExpectGuideSays(
        {"Execute asks before overwriting the file the host named",
         u8"会計ソフトが出力先を指定して起動したときも、上書きしてよいか確認します。",
         u8"会計ソフトが出力先を指定して起動したときは、確認せずに上書きします。"},
        asks(true));
}

TEST_F(SheetExecute, ChecksRunInOrderAndStopAtTheFirstFailure) {
    input.endMonth = 0;
    input.outputPath = "C:\\out\\*.xml";
    EXPECT_FALSE(Execute());
    EXPECT_EQ("集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。", OnlyMessage());
}

TEST_F(SheetExecute, CancelAnsweredYesSavesThenNotifies) {
    desktop.answers = {platform::kIdYes};
    controller.Cancel();
    ASSERT_EQ(2u, desktop.boxes.size());
    EXPECT_EQ("入力した情報を保存して終了しますか？", desktop.boxes[0].text);
    EXPECT_EQ(kQuestion, desktop.boxes[0].style);
    EXPECT_EQ("｢事業概況書｣の集計を中止します。", desktop.boxes[1].text);
    EXPECT_EQ(platform::kMbOk | platform::kMbIconInformation, desktop.boxes[1].style);
    EXPECT_EQ((Events{"save", "close 2001"}), view.events);
}

TEST_F(SheetExecute, CancelAnsweredNoSavesNothing) {
    desktop.answers = {platform::kIdNo};
    controller.Cancel();
    EXPECT_EQ(2u, desktop.boxes.size());
    EXPECT_EQ((Events{"close 2001"}), view.events);
}

} // namespace

// The start-up over the host: the period's months, the host's tax preset and default output
// folder, the temporary folder and the default mappings reach the conditions, and the settings
// are saved into the host's settings folder.
TEST_F(SheetStartUp, TheHostGivesThePeriodTheTaxPresetAndTheFolders) {
    testsupport::FakeHost host;
    host.dataSets = {testsupport::FakeHost::DataSet("D", 1, "", 20170401, 20180331)};
    host.selected = 0;
    host.tax.set_taxIncludedPreset(1);
    host.outputFolder = "D:\\Out\\";
    host.settingsFolder = "C:\\Settings\\";
    conditions.periodStart = 20170401;
    conditions.periodEnd = 20180331;
    AccountCatalogue accounts;
    testsupport::RecordingDesktop desktop;
    RecordingView view;
    const std::string settingsFile = "C:\\Settings\\" + SettingsFileName(conditions);
    // Starts up, then cancels with a save; the cause of the run comes back.
    const auto startUpAndSave = [&] {
        conditions.outputPath.clear();
        conditions.defaultMappings.clear();
        mappings.clear();
        sheet::Controller controller(host, accounts, desktop, files, conditions, view);
        EXPECT_TRUE(controller.StartUp("C:\\Program\\Def.dat"));
        EXPECT_EQ(2u, conditions.defaultMappings.size()) << "the default-mapping file is read";
        desktop.answers = {platform::kIdYes};
        controller.Cancel();
        return platform::LogLine(controller.cause());
    };
    EXPECT_EQ("ok", startUpAndSave());
    EXPECT_EQ(4, conditions.firstMonth);
    EXPECT_EQ(3, conditions.endMonth);
    EXPECT_EQ(1, conditions.taxIncluded);
    EXPECT_EQ("D", host.taxDataId);
    EXPECT_EQ("D:\\Out\\*.xml", conditions.outputPath);
    EXPECT_TRUE(files.HasFile(settingsFile));
    files.DeleteFileAt(settingsFile);

    // The host's accounting month of the start comes first; what the host does not give stays
    // empty or off: the output goes to the temporary folder, and no settings are saved.
    host.accountingMonthShift = 1;
    host.tax.set_taxIncludedPreset(0);
    host.outputFolder.reset();
    host.settingsFolder.reset();
    EXPECT_EQ("no-data step=settings-folder", startUpAndSave());
    EXPECT_EQ(5, conditions.firstMonth);
    EXPECT_EQ(3, conditions.endMonth);
    EXPECT_EQ(0, conditions.taxIncluded);
    EXPECT_EQ(files.TempFolder() + "*.xml", conditions.outputPath);
    EXPECT_FALSE(files.HasFile(settingsFile));

    // Refusals the sheet can do without: the option off, no folders, the first one kept.
    host.tax.set_taxIncludedPreset(1);
    host.taxError = 2;
    host.outputFolder = "D:\\Out\\";
    host.settingsFolder = "C:\\Settings\\";
    host.folderError = 4;
    const auto before = files.Tree();
    EXPECT_EQ("host-refused step=ClSetShohizei::Get code=2", startUpAndSave());
    EXPECT_EQ(0, conditions.taxIncluded);
    EXPECT_EQ(files.TempFolder() + "*.xml", conditions.outputPath);
    EXPECT_EQ(before, files.Tree()) << "nothing saved without the settings folder";
}

TEST_F(SheetStartUp, APeriodTheHostCannotReckonRefusesTheStartUp) {
    testsupport::FakeHost host;
    AccountCatalogue accounts;
    testsupport::RecordingDesktop desktop;
    RecordingView view;
    conditions.periodStart = 20170401;
    conditions.periodEnd = 20180331;
    host.failCall = 1;
    sheet::Controller controller(host, accounts, desktop, files, conditions, view);
    EXPECT_FALSE(controller.StartUp(""));
    EXPECT_EQ("host-refused step=AccountingMonth code=7", platform::LogLine(controller.cause()));
    EXPECT_EQ(std::vector<std::string>{"AccountingMonth"}, host.callLog);
    EXPECT_EQ((Events{"close -2"}), view.events);
}

TEST_F(SheetStartUp, FormItemsLoadOrTheUserIsToldAndTheSheetClosesAsCancelled) {
    StatementLines lines;
    files.AddFile("C:\\Program\\Items.dat",
                  "[共通様式]\r\n1/2/40888000/売上高/URIAGEDAKA;\r\n[終了]\r\n");
    files.AddFile("C:\\Program\\Broken.dat", "[共通様式]\r\n1/2/40888000\r\n");
    const auto loadFrom = [&](const char* path, bool withLines) {
        testsupport::FakeHost host;
        AccountCatalogue accounts;
        testsupport::RecordingDesktop desktop;
        RecordingView view;
        conditions.statementLines = withLines ? &lines : nullptr;
        sheet::Controller controller(host, accounts, desktop, files, conditions, view);
        if (controller.LoadFormItems(path)) {
            EXPECT_TRUE(desktop.boxes.empty()) << "no message when the lines load";
            EXPECT_TRUE(view.events.empty());
            return platform::LogLine(controller.cause());
        }
        EXPECT_EQ(1u, desktop.boxes.size());
        for (const auto& box : desktop.boxes) {
            EXPECT_EQ("集計項目の定義ファイルを読み込めません。\n\n"
                      "インストールされているファイルを確認してください。",
                      box.text);
            EXPECT_EQ("事業概況書", box.caption);
            EXPECT_EQ(view.Owner(), box.owner);
            EXPECT_EQ(kError, box.style);
        }
        EXPECT_EQ((Events{"close 2001"}), view.events);
        return platform::LogLine(controller.cause());
    };

    EXPECT_EQ("no-data step=statement-lines", loadFrom("C:\\Program\\Items.dat", false))
        << "no statement lines to load into";
    EXPECT_EQ("io step=form-items error=2 file=C:\\\\Program\\\\None.dat",
              loadFrom("C:\\Program\\None.dat", true));
    EXPECT_EQ("bad-file step=form-items file=C:\\\\Program\\\\Broken.dat",
              loadFrom("C:\\Program\\Broken.dat", true));
    EXPECT_EQ("ok", loadFrom("C:\\Program\\Items.dat", true));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(1, lines[0]->lineNo);
}
