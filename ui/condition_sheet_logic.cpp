#include "ui/condition_sheet_logic.h"

#include "aggregate/period.h"
#include "settings/paths.h"
#include "settings/settings_file.h"
#include "ui/page1_logic.h"

namespace sheet {

const char kCaption[] = "事業概況書";
const char kPreviousCaption[] = "前へ(F5)";
const char kNextCaption[] = "次へ(F6)";
const char kExecuteCaption[] = "実行(F12)";
const char kCancelCaption[] = "キャンセル(Esc)";

namespace {

const char kPeriodWrong[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
const char kBeforeIntroduction[] = "集計期間には、導入開始月より前は指定できません。";
const char kNoOutputPath[] = "データ出力先が指定されていません。\n\n出力先を指定してください。";
const char kBadCharacters[] =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
const char kBadDrive[] = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
const char kNoFileName[] = "ファイル名が指定されていません。";
const char kCreateFolder[] = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
const char kCreateFolderFailed[] = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
const char kOverwrite[] = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
const char kSaveOnCancel[] = "入力した情報を保存して終了しますか？";
const char kCancelled[] = "｢事業概況書｣の集計を中止します。";

const char kXmlPattern[] = "*.xml";

// The months S..M must lie within the accounting period A..E in fiscal order.
bool PeriodIsWrong(std::int16_t first, std::int16_t endCode, std::int16_t s, std::int16_t m) {
    const int a = first;
    const int e = endCode % 100;
    const bool crossesYearEnd = endCode >= 100;
    if (m < 1 || m > 12)
        return true;
    if (!crossesYearEnd)
        return s < a || m > e || (a >= 1 && e <= 12 && s > m);
    return (s >= 1 && s <= e && (s > m || m > e)) || (e < s && s < a) || (e < m && m < a);
}

} // namespace

ButtonBar LayOutButtonBar(int width, int height) {
    const int e = (width - 20) / 4;
    ButtonBar bar;
    bar.previous = {8, e - 10};
    bar.next = {e + 2, e - 10};
    bar.execute = {width - 2 * e + 8, e - 10};
    bar.cancel = {width - e + 2, e - 10};
    bar.top = height - height / 21;
    return bar;
}

int NextPage(int index) {
    return index < kPageCount - 1 ? index + 1 : index;
}

int PreviousPage(int index) {
    return index > 0 ? index - 1 : index;
}

NavigationButtons NavigationFor(int pageIndex) {
    return {pageIndex > 0, pageIndex < kPageCount - 1};
}

bool IsAltF4(bool isKey, unsigned key, Modifiers modifiers) {
    return isKey && key == kKeyF4 && modifiers.onlyAlt();
}

KeyAction DecideKey(bool isKey, bool isKeyDown, unsigned key, Modifiers modifiers,
                    int focusedCommand) {
    if (IsAltF4(isKey, key, modifiers))
        return KeyAction::Swallow;
    if (!isKeyDown || modifiers.any())
        return KeyAction::PassOn;
    switch (key) {
    case kKeyEnter:
        switch (focusedCommand) {
        case kExecute:
            return KeyAction::Execute;
        case kCancel:
            return KeyAction::Cancel;
        case kNext:
            return KeyAction::Next;
        case kPrevious:
            return KeyAction::Previous;
        default:
            return KeyAction::Swallow;
        }
    case kKeyF5:
        return KeyAction::Previous;
    case kKeyF6:
        return KeyAction::Next;
    case kKeyF12:
        return KeyAction::Execute;
    case kKeyEscape:
        return KeyAction::Cancel;
    default:
        return KeyAction::PassOn;
    }
}

std::string DefaultOutputPath(const std::string& hostFolder, const std::string& tempFolder) {
    if (!hostFolder.empty())
        return hostFolder + kXmlPattern;
    std::string folder = tempFolder;
    if (!EnsureTrailingSeparator(folder))
        return std::string();
    return folder + kXmlPattern;
}

void PrepareConditions(AggregationConditions& conditions, platform::FileSystem& files,
                       const StartUpValues& values, const AccountCodeLookup& lookup) {
    conditions.outputPathFixed = conditions.outputPath.empty() ? 0 : 1;
    conditions.firstMonth = values.periodFirstMonth;
    conditions.endMonth = static_cast<std::int16_t>(values.periodEndCode % 100);
    const bool loaded = loadSettings(files, values.settingsFolder, conditions);
    loadDefaultMappings(files, values.defaultMappingPath, conditions.defaultMappings, lookup);
    if (!loaded) {
        conditions.taxIncluded = values.hostTaxIncluded != 0 ? 1 : 0;
        resetMappingsToDefaults(conditions);
    }
    if (conditions.outputPathFixed == 0 && conditions.savedOutputPath.empty())
        conditions.outputPath = DefaultOutputPath(values.hostOutputFolder, values.tempFolder);
}

int Controller::Ask(const char* text) {
    return desktop_.ShowMessage(view_.Owner(), text, kCaption,
                                platform::kMbYesNo | platform::kMbIconQuestion);
}

void Controller::Complain(const char* text) {
    desktop_.ShowMessage(view_.Owner(), text, kCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
}

bool Controller::CheckPeriod(const ExecuteInput& input) {
    if (PeriodIsWrong(input.periodFirstMonth, input.periodEndCode, input.firstMonth,
                      input.endMonth)) {
        Complain(kPeriodWrong);
        view_.FocusEndMonth();
        return false;
    }
    std::int16_t fromIndex = 0;
    std::int16_t toIndex = 0;
    GetMonthIndexes(input.periodFirstMonth, input.periodEndCode, input.firstMonth, input.endMonth,
                    &fromIndex, &toIndex);
    if (toIndex < input.introMonth) {
        Complain(kBeforeIntroduction);
        view_.FocusEndMonth();
        return false;
    }
    return true;
}

bool Controller::CheckOutputPath(const ExecuteInput& input) {
    const std::string& path = input.outputPath;
    if (path.empty()) {
        Complain(kNoOutputPath);
        view_.BrowseOutputFile();
        return false;
    }
    if (!CheckPathCharacters(path)) {
        Complain(kBadCharacters);
        view_.FocusOutputPath();
        return false;
    }
    if (!CheckPathDrive(files_, path)) {
        Complain(kBadDrive);
        view_.FocusOutputPath();
        return false;
    }
    const std::size_t separator = page1::FindLastSingleByte(path, '\\');
    const std::size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
    if (fileStart == path.size()) {
        Complain(kNoFileName);
        view_.FocusOutputPath();
        return false;
    }
    const std::string folder = path.substr(0, fileStart);
    if (!folder.empty() && !files_.Exists(folder)) {
        if (Ask(kCreateFolder) != platform::kIdYes) {
            view_.FocusOutputPath();
            return false;
        }
        if (!CreateFolderChain(files_, folder)) {
            Complain(kCreateFolderFailed);
            view_.FocusOutputPath();
            return false;
        }
    }
    if (!input.outputPathFixed && files_.Exists(path)) {
        if (files_.DirectoryExists(path)) {
            Complain(kNoFileName);
            view_.FocusOutputPath();
            return false;
        }
        if (Ask(kOverwrite) != platform::kIdYes) {
            view_.FocusOutputPath();
            return false;
        }
    }
    return true;
}

bool Controller::Execute(const ExecuteInput& input) {
    if (!CheckPeriod(input) || !CheckOutputPath(input))
        return false;
    view_.SaveSettings();
    view_.Close(kExecute);
    return true;
}

void Controller::Cancel() {
    if (Ask(kSaveOnCancel) == platform::kIdYes)
        view_.SaveSettings();
    desktop_.ShowMessage(view_.Owner(), kCancelled, kCaption,
                         platform::kMbOk | platform::kMbIconInformation);
    view_.Close(kCancel);
}

} // namespace sheet
