#include "ui/condition_sheet_logic.h"

#include "aggregate/aggregator.h"
#include "aggregate/period.h"
#include "platform/sjis.h"
#include "settings/account_lookup.h"
#include "settings/paths.h"
#include "settings/settings_file.h"
#include "settings/statement_files.h"
#include "texts/catalogue.h"
#include "ui/page1_logic.h"

#include <utility>

namespace sheet {

namespace {

const char kXmlPattern[] = "*.xml";

// The months from..to must lie within the accounting period, from its first month to the end
// month of endCode, in fiscal order.
bool PeriodIsWrong(std::int16_t firstMonth, std::int16_t endCode, std::int16_t from,
                   std::int16_t to) {
    const int first = firstMonth;
    const int last = endCode % 100;
    const bool crossesYearEnd = endCode >= 100;
    if (to < 1 || to > 12)
        return true;
    if (!crossesYearEnd)
        return from < first || to > last || (first >= 1 && last <= 12 && from > to);
    return (from >= 1 && from <= last && (from > to || to > last)) ||
           (last < from && from < first) || (last < to && to < first);
}

} // namespace

ButtonBar LayOutButtonBar(int width, int height) {
    // A quarter of the width less the margins: each button's place, 10 pixels of it between two.
    const int place = (width - 20) / 4;
    ButtonBar bar;
    bar.previous = {8, place - 10};
    bar.next = {place + 2, place - 10};
    bar.execute = {width - 2 * place + 8, place - 10};
    bar.cancel = {width - place + 2, place - 10};
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

platform::Status PrepareConditions(AggregationConditions& conditions, platform::FileSystem& files,
                                   const StartUpValues& values, const AccountCodeLookup& lookup) {
    conditions.outputPathFixed = conditions.outputPath.empty() ? 0 : 1;
    conditions.firstMonth = values.periodFirstMonth;
    conditions.endMonth = static_cast<std::int16_t>(values.periodEndCode % 100);
    const bool loaded = loadSettings(files, values.settingsFolder, conditions);
    platform::Status defaults =
        loadDefaultMappings(files, values.defaultMappingPath, conditions.defaultMappings, lookup);
    if (!loaded) {
        conditions.taxIncluded = values.hostTaxIncluded != 0 ? 1 : 0;
        resetMappingsToDefaults(conditions);
    }
    if (conditions.outputPathFixed == 0 && conditions.savedOutputPath.empty())
        conditions.outputPath = DefaultOutputPath(values.hostOutputFolder, values.tempFolder);
    return defaults;
}

int Controller::Ask(const char* text) {
    return desktop_.ShowMessage(view_.Owner(), text, texts::kAppTitle,
                                platform::kMbYesNo | platform::kMbIconQuestion);
}

void Controller::Complain(const char* text) {
    desktop_.ShowMessage(view_.Owner(), text, texts::kAppTitle,
                         platform::kMbOk | platform::kMbIconExclamation);
}

bool Controller::CheckPeriod(const ExecuteInput& input) {
    if (PeriodIsWrong(input.periodFirstMonth, input.periodEndCode, input.firstMonth,
                      input.endMonth)) {
        Complain(texts::kPeriodWrongMessage);
        view_.FocusEndMonth();
        return false;
    }
    std::int16_t fromIndex = 0;
    std::int16_t toIndex = 0;
    GetMonthIndexes(input.periodFirstMonth, input.periodEndCode, input.firstMonth, input.endMonth,
                    &fromIndex, &toIndex);
    if (toIndex < input.introMonth) {
        Complain(texts::kBeforeIntroductionMessage);
        view_.FocusEndMonth();
        return false;
    }
    return true;
}

bool Controller::CheckOutputPath(const ExecuteInput& input) {
    const std::string& path = input.outputPath;
    if (path.empty()) {
        Complain(texts::kNoOutputPathMessage);
        view_.BrowseOutputFile();
        return false;
    }
    if (!CheckPathCharacters(path)) {
        Complain(texts::kBadCharactersMessage);
        view_.FocusOutputPath();
        return false;
    }
    if (!CheckPathDrive(files_, path)) {
        Complain(texts::kBadDriveMessage);
        view_.FocusOutputPath();
        return false;
    }
    const std::size_t separator = platform::FindLastSingleByte(path, '\\');
    const std::size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
    if (fileStart == path.size()) {
        Complain(texts::kNoFileNameMessage);
        view_.FocusOutputPath();
        return false;
    }
    const std::string folder = path.substr(0, fileStart);
    if (!folder.empty() && !files_.Exists(folder)) {
        if (Ask(texts::kCreateFolderMessage) != platform::kIdYes) {
            view_.FocusOutputPath();
            return false;
        }
        if (!CreateFolderChain(files_, folder).ok()) {
            Complain(texts::kCreateFolderFailedMessage);
            view_.FocusOutputPath();
            return false;
        }
    }
    if (!input.outputPathFixed && files_.Exists(path)) {
        if (files_.DirectoryExists(path)) {
            Complain(texts::kNoFileNameMessage);
            view_.FocusOutputPath();
            return false;
        }
        if (Ask(texts::kOverwriteMessage) != platform::kIdYes) {
            view_.FocusOutputPath();
            return false;
        }
    }
    return true;
}

bool Controller::StartUp(const std::string& defaultMappingPath) {
    StartUpValues values;
    if (platform::Status got =
            GetPeriodMonths(host_, conditions_.periodStart, conditions_.periodEnd,
                            &values.periodFirstMonth, &values.periodEndCode);
        !got.ok()) {
        Fail(std::move(got));
        return false;
    }
    // The sheet does without what else the host refuses: the tax option stays off, the folder
    // stays empty.
    StSHOHIZEIINFO tax{};
    platform::Status taxRead = GetTaxSettings(host_, tax);
    values.hostTaxIncluded = taxRead.ok() && tax.taxIncludedPreset() != 0 ? 1 : 0;
    Note(std::move(taxRead));
    Note(host_.FolderPath(platform::HostFolder::kDefaultOutput, values.hostOutputFolder));
    Note(HostSettingsFolder(host_, values.settingsFolder));
    values.tempFolder = files_.TempFolder();
    values.defaultMappingPath = defaultMappingPath;
    settingsFolder_ = values.settingsFolder;
    Note(PrepareConditions(conditions_, files_, values, CatalogueAccountCodes(accounts_)));
    return true;
}

bool Controller::LoadFormItems(const std::string& formItemPath) {
    platform::Status loaded =
        conditions_.statementLines != nullptr
            ? loadStatementLines(files_, formItemPath, *conditions_.statementLines)
            : platform::Status::NoData("statement-lines");
    if (loaded.ok())
        return true;
    Note(std::move(loaded));
    Complain(texts::kFormItemsUnreadableMessage);
    view_.Close(kCancel);
    return false;
}

void Controller::Execute() {
    ExecuteInput input;
    if (platform::Status got =
            GetPeriodMonths(host_, conditions_.periodStart, conditions_.periodEnd,
                            &input.periodFirstMonth, &input.periodEndCode);
        !got.ok()) {
        Fail(std::move(got));
        return;
    }
    input.firstMonth = conditions_.firstMonth;
    input.endMonth = conditions_.endMonth;
    input.introMonth = conditions_.introMonth;
    input.outputPath = conditions_.outputPath;
    input.outputPathFixed = conditions_.outputPathFixed != 0;
    Execute(input);
}

void Controller::Execute(const ExecuteInput& input) {
    if (!CheckPeriod(input) || !CheckOutputPath(input))
        return;
    SaveSettings();
    view_.Close(kExecute);
}

void Controller::Cancel() {
    if (Ask(texts::kSaveOnCancelMessage) == platform::kIdYes)
        SaveSettings();
    desktop_.ShowMessage(view_.Owner(), texts::kCancelledMessage, texts::kAppTitle,
                         platform::kMbOk | platform::kMbIconInformation);
    view_.Close(kCancel);
}

void Controller::Fail(platform::Status failure) {
    if (!failed_)
        cause_ = std::move(failure);
    failed_ = true;
    view_.Close(kFailed);
}

void Controller::Finish() {
    Note(host_.ReleaseFolders());
}

// The saved settings only spare the user work next time: a save that fails never stops the
// sheet, but its cause is kept. Without a settings folder (the host refused it) nothing is
// written, so that saved mappings are never replaced by defaults.
void Controller::SaveSettings() {
    Note(saveSettings(files_, settingsFolder_, conditions_));
}

void Controller::Note(platform::Status status) {
    if (cause_.ok() && !failed_)
        cause_ = std::move(status);
}

} // namespace sheet
