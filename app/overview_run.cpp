// The run from the condition sheet to the final message: the sheet, the progress dialog, the
// aggregation, the report and the clean-up.
#include "aggregate/aggregator.h"
#include "app/overview_app.h"
#include "report/report_writer.h"
#include "settings/statement_files.h"
#include "texts/catalogue.h"

namespace {

// The host user and the two selection numbers that name the settings file.
platform::Status FillUser(platform::Host& host, AggregationConditions& conditions) {
    platform::HostUser user;
    if (platform::Status got = host.CurrentUser(user); !got.ok())
        return got;
    conditions.userId = user.id;
    conditions.selectionNo1 = static_cast<std::int32_t>(user.first);
    conditions.selectionNo2 = static_cast<std::int32_t>(user.dataNo);
    return platform::Status();
}

// The wait cursor from the progress window on, however the run leaves it.
class WaitCursorScope {
  public:
    explicit WaitCursorScope(platform::Desktop& desktop) : desktop_(desktop) {
        desktop_.BeginWaitCursor();
    }
    ~WaitCursorScope() { desktop_.EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

  private:
    platform::Desktop& desktop_;
};

} // namespace

bool ClOverviewApp::RunConditionsAndReport() {
    if (services_ == nullptr) {
        exitCode_ = kNoOutput;
        return false;
    }
    ConditionSheetRequest request;
    request.caption = texts::kSheetCaption;
    request.owner = hostParent_;
    request.form = form_;
    request.companyText = companyText_;
    request.periodText = periodText_;
    const std::string programFolder = files_.ProgramFolder();
    request.defaultMappingPath = programFolder + DefaultMappingFileName(edition_.dataPrefix, form_);
    request.formItemPath = programFolder + FormItemFileName(edition_.dataPrefix, form_);

    AggregationConditions conditions;
    if (platform::Status filled = FillUser(host_, conditions); !filled.ok())
        return Fail(std::move(filled), texts::kHostDataFailedMessage);
    if (startedByHost_ == 1)
        conditions.outputPath = command_.hostText;
    conditions.periodEnd = dataRecord_.periodEnd();
    conditions.introMonth = dataRecord_.startUseMonth();
    conditions.periodStart = dataRecord_.periodStart();
    conditions.equityLabel = dataRecord_.equityLabel();
    conditions.form = form_;
    conditions.mappings = &mappings_;
    conditions.statementLines = &statementLines_;

    // The account master is read once: the sheet's lookups and tooltips take it from here.
    AccountCatalogue accounts;
    if (platform::Status read = accounts.Read(host_); !read.ok())
        return Fail(std::move(read), texts::kHostDataFailedMessage);

    SheetOutcome sheet = services_->ui.RunConditionSheet(host_, accounts, request, conditions);
    switch (sheet.end) {
    case SheetOutcome::End::kExecuted:
        Note(std::move(sheet.cause));
        return AggregateAndWrite(conditions);
    case SheetOutcome::End::kFailed:
        return Fail(std::move(sheet.cause), texts::kHostDataFailedMessage);
    case SheetOutcome::End::kNotShown:
        // The sheet's window could not be made; the run still ends as if it had been cancelled.
        failure_ = platform::Status::OutOfMemory("condition-sheet");
        break;
    case SheetOutcome::End::kCancelled:
        Note(std::move(sheet.cause));
        break;
    }
    exitCode_ = kNoOutput;
    return false;
}

bool ClOverviewApp::AggregateAndWrite(const AggregationConditions& conditions) {
    // The path is kept whole: one too long for the system fails when it is written.
    const std::string path = conditions.outputPath;
    const std::int16_t firstMonth = conditions.firstMonth;
    const std::int16_t endMonth = conditions.endMonth;
    const int taxIncluded = conditions.taxIncluded != 0 ? 1 : 0;

    std::unique_ptr<ProgressWindow> progress =
        services_->ui.OpenProgress(startedByHost_ == 1 ? hostParent_ : nullptr);
    if (progress == nullptr)
        return Fail(platform::Status::OutOfMemory("progress-dialog"), texts::kWriteFailedMessage);
    const WaitCursorScope waitCursor(desktop_);
    progress->ResetMainBar();

    OverviewAggregator aggregator(*progress, mappings_, statementLines_, form_, host_);
    const ReportServices reportServices{files_, desktop_, services_->text, services_->strings,
                                        services_->memory};
    ClReportWriter writer(*progress, statementLines_, form_, edition_.defaultProductName,
                          reportServices);

    // A failed aggregation leaves the lines incomplete: nothing is written from them.
    AggregationRequest request{};
    platform::Status aggregated =
        BuildAggregationRequest(host_, request, dataRecord_, firstMonth, endMonth);
    if (aggregated.ok())
        aggregated = aggregator.Aggregate(taxIncluded, request, dataRecord_);
    platform::Status written = aggregated;
    if (aggregated.ok()) {
        writer.progressBase = 500;
        written = writer.WriteReport(path, command_.functionId, firstMonth, dataRecord_);
        reportWritten_ = written.ok();
    }

    progress->Close();
    desktop_.RestoreWaitCursor();
    const char* message = written.ok()      ? texts::kWrittenMessage
                          : aggregated.ok() ? texts::kWriteFailedMessage
                                            : texts::kAggregationFailedMessage;
    const unsigned style = platform::kMbOk | (written.ok() ? platform::kMbIconInformation
                                                           : platform::kMbIconExclamation);
    desktop_.ShowMessage(progress->Window(), message, texts::kAppTitle, style);
    if (!written.ok()) {
        failure_ = std::move(written);
        exitCode_ = kFailure;
        return false;
    }
    return true;
}
