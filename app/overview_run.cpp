// The run from the condition sheet to the final message: the sheet, the progress dialog, the
// aggregation, the report and the clean-up.
#include "aggregate/aggregator.h"
#include "app/company_data.h"
#include "app/overview_app.h"
#include "report/report_writer.h"
#include "settings/statement_files.h"
#include "texts/catalogue.h"

namespace {

const int kSheetExecuted = 2000;
const int kSheetNotShown = -1;

// The host user and the two selection numbers that name the settings file.
void FillUser(platform::Host& host, AggregationConditions& conditions) {
    platform::HostUser user;
    if (!host.CurrentUser(user))
        return;
    conditions.userId = user.id;
    conditions.selectionNo1 = static_cast<std::int32_t>(user.first);
    conditions.selectionNo2 = static_cast<std::int32_t>(user.dataNo);
}

} // namespace

bool ClOverviewApp::RunConditionsAndReport() {
    if (services_ == nullptr) {
        exitCode_ = kNoOutput;
        return false;
    }
    ConditionSheetRequest request;
    request.caption = texts::kSheetCaption;
    request.owner = hostParent_;
    request.newForm = newForm_;
    request.companyText = companyText_;
    request.periodText = periodText_;
    const std::string programFolder = files_.ProgramFolder();
    request.defaultMappingPath =
        programFolder + DefaultMappingFileName(edition_.dataPrefix, newForm_ != 0);
    request.formItemPath = programFolder + FormItemFileName(edition_.dataPrefix, newForm_ != 0);

    AggregationConditions conditions;
    FillUser(host_, conditions);
    if (startedByHost_ == 1)
        conditions.outputPath = command_.hostText;
    conditions.periodEnd = dataRecord_.periodEnd();
    conditions.introMonth = dataRecord_.startUseMonth();
    conditions.periodStart = dataRecord_.periodStart();
    conditions.equityLabel = dataRecord_.equityLabel();
    conditions.newForm = newForm_;
    conditions.mappings = &mappings_;
    conditions.statementLines = &statementLines_;

    const int sheetResult = services_->ui.RunConditionSheet(host_, request, conditions);
    if (sheetResult != kSheetExecuted) {
        // The sheet's window could not be made; the run still ends as if it had been cancelled.
        if (sheetResult == kSheetNotShown)
            failure_ = platform::Status::OutOfMemory("condition-sheet");
        exitCode_ = kNoOutput;
        return false;
    }
    return AggregateAndWrite(conditions);
}

bool ClOverviewApp::AggregateAndWrite(const AggregationConditions& conditions) {
    // The path is kept whole: one too long for the system fails when it is written.
    const std::string path = conditions.outputPath;
    const std::int16_t firstMonth = conditions.firstMonth;
    const std::int16_t endMonth = conditions.endMonth;
    const int taxIncluded = conditions.taxIncluded != 0 ? 1 : 0;

    std::unique_ptr<ProgressWindow> progress =
        services_->ui.OpenProgress(startedByHost_ == 1 ? hostParent_ : nullptr);
    if (progress == nullptr) {
        failure_ = platform::Status::OutOfMemory("progress-dialog");
        desktop_.ShowMessage(nullptr, texts::kWriteFailedMessage, texts::kAppTitle,
                             platform::kMbOk | platform::kMbIconExclamation);
        exitCode_ = kFailure;
        return false;
    }
    desktop_.BeginWaitCursor();
    progress->ResetMainBar();

    OverviewAggregator aggregator(*progress, mappings_, statementLines_,
                                  static_cast<std::uint32_t>(newForm_), host_);
    const ReportServices reportServices{files_, desktop_, services_->text, services_->strings,
                                        services_->memory};
    ClReportWriter writer(*progress, statementLines_, newForm_, edition_.defaultProductName,
                          reportServices);

    AggregationRequest request{};
    BuildAggregationRequest(host_, request, dataRecord_, firstMonth, endMonth);
    // A failed aggregation leaves the lines incomplete: nothing is written from them.
    failure_ = aggregator.Aggregate(taxIncluded, request, dataRecord_);
    const bool aggregated = failure_.ok();
    if (aggregated) {
        writer.progressBase = 500;
        failure_ = writer.WriteReport(path, command_.functionId, firstMonth, dataRecord_);
    }
    const bool written = failure_.ok();

    progress->Close();
    desktop_.RestoreWaitCursor();
    const char* message = written      ? texts::kWrittenMessage
                          : aggregated ? texts::kWriteFailedMessage
                                       : texts::kAggregationFailedMessage;
    const unsigned style =
        platform::kMbOk | (written ? platform::kMbIconInformation : platform::kMbIconExclamation);
    desktop_.ShowMessage(progress->Window(), message, texts::kAppTitle, style);
    if (!written)
        exitCode_ = kFailure;

    desktop_.EndWaitCursor();
    progress.reset();
    return written;
}
