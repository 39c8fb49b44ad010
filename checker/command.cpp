#include "checker/command.h"

#include "checker/comparison.h"
#include "checker/editions.h"
#include "checker/format.h"
#include "settings/statement_files.h"
#include "texts/checker.h"

#include "ovw_version.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <set>

namespace checker {

namespace {

bool IsReportName(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".xml";
}

// A file name as a relative link of the page: every byte but the unreserved ones escaped.
std::string LinkTo(const std::string& utf8Name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string link;
    for (unsigned char c : utf8Name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            link += static_cast<char>(c);
        } else {
            link += '%';
            link += kHex[c >> 4];
            link += kHex[c & 15];
        }
    }
    return link;
}

std::string Line(const std::string& text) {
    return text + "\n";
}

} // namespace

// A file read: the report checked, or what kept it from being read and where.
struct ReportChecker::Loaded {
    enum class Problem { kNone, kCannotOpen, kNotAReport, kNoFormItems };
    Problem problem = Problem::kNone;
    std::string place; // the technical place: file, line, column and what
    std::optional<CheckedReport> checked;
};

// The form-item files of the data folder, read when first asked for. Without an edition chosen,
// a report is read with the files of the edition whose product name it carries when they are
// there, else with the first of Ivy, Oak and Elm found. A file that is there but cannot be read
// is a failure, never a reason to take another edition's.
class ReportChecker::DataFolder {
  public:
    DataFolder(FileAccess& files, std::string folder, std::string edition)
        : files_(files), folder_(std::move(folder)), edition_(std::move(edition)) {}

    const FormItems* Get(FormGeneration form, const std::string& programName) {
        std::vector<std::string> prefixes;
        if (!edition_.empty()) {
            prefixes.push_back(edition_);
        } else {
            if (const Edition* own = EditionOf(programName))
                prefixes.push_back(own->dataPrefix);
            for (const Edition* const* edition = Editions(); *edition != nullptr; ++edition)
                prefixes.push_back((*edition)->dataPrefix);
        }
        failed_.clear();
        for (const std::string& prefix : prefixes) {
            const std::string path = InFolder(folder_, FormItemFileName(prefix, form));
            auto found = loaded_.find(path);
            if (found == loaded_.end()) {
                std::string bytes;
                const platform::Status read = files_.ReadWhole(path, bytes);
                if (read.cause() == platform::Cause::kNoData)
                    continue;
                if (!read.ok()) {
                    failed_.push_back(ArgumentToUtf8(path));
                    return nullptr;
                }
                FormItems items;
                const bool sound = LoadFormItems(bytes, path, form, items).ok();
                found = loaded_
                            .emplace(path, sound ? std::optional<FormItems>(std::move(items))
                                                 : std::nullopt)
                            .first;
            }
            if (found->second)
                return &*found->second;
            failed_.push_back(ArgumentToUtf8(path));
            return nullptr;
        }
        failed_.push_back(
            ArgumentToUtf8(InFolder(folder_, FormItemFileName(prefixes.front(), form))));
        return nullptr;
    }

    // The files that the last unanswered request could not read.
    const std::vector<std::string>& Failed() const { return failed_; }

  private:
    FileAccess& files_;
    std::string folder_;
    std::string edition_;
    std::map<std::string, std::optional<FormItems>> loaded_; // by path; nodes never move
    std::vector<std::string> failed_;
};

ReportChecker::ReportChecker(FileAccess& files, std::string dataDir, std::string edition,
                             PageStamp stamp)
    : files_(files),
      data_(std::make_shared<DataFolder>(files, std::move(dataDir), std::move(edition))),
      stamp_(std::move(stamp)) {}

ReportChecker::~ReportChecker() = default;

bool ReportChecker::Load(const std::string& path, Loaded& loaded, std::string& problem) {
    const std::string shown = ArgumentToUtf8(path);
    std::string bytes;
    const platform::Status opened = files_.ReadWhole(path, bytes);
    if (!opened.ok()) {
        loaded.problem = Loaded::Problem::kCannotOpen;
        loaded.place =
            Fill(texts::kSystemError, {{"file", shown}, {"code", std::to_string(opened.code())}});
        problem = Line(Fill(texts::kCannotOpen, {{"file", shown}})) +
                  Line(Fill(texts::kTechnicalPlace, {{"place", loaded.place}}));
        return false;
    }
    CheckedReport checked;
    checked.source = shown;
    ReadError error;
    const FormItemsSource formItems = [this](FormGeneration form, const std::string& programName) {
        return data_->Get(form, programName);
    };
    const platform::Status read = ReadReport(bytes, formItems, checked.report, error);
    if (!read.ok()) {
        const bool noFormItems = read.cause() == platform::Cause::kNoData;
        loaded.problem = noFormItems ? Loaded::Problem::kNoFormItems : Loaded::Problem::kNotAReport;
        loaded.place = shown + ":" + std::to_string(error.line) + ":" +
                       std::to_string(error.column) + ": " + error.message;
        problem = Line(Fill(noFormItems ? texts::kNoFormItemsFor : texts::kNotAReport,
                            {{"file", shown}})) +
                  Line(Fill(texts::kTechnicalPlace, {{"place", loaded.place}}));
        if (noFormItems) {
            for (const std::string& file : data_->Failed())
                problem += Line(Fill(texts::kUnreadableFormItemFile, {{"file", file}}));
        }
        return false;
    }
    checked.findings = CheckReport(checked.report);
    loaded.checked = std::move(checked);
    return true;
}

CheckOutcome ReportChecker::CheckOne(const std::string& path, const std::string& previousPath,
                                     const std::string& pagePath, bool verbose) {
    CheckOutcome outcome;
    Loaded loaded;
    if (!Load(path, loaded, outcome.err))
        return outcome;
    CheckedReport& checked = *loaded.checked;
    Loaded previous;
    std::optional<Comparison> comparison;
    if (!previousPath.empty()) {
        if (!Load(previousPath, previous, outcome.err))
            return outcome;
        if (const auto why = WhyNotComparable(checked.report, previous.checked->report)) {
            outcome.err = Line(Fill(texts::kNotComparable, {{"file", checked.source}})) +
                          Line(Fill(texts::kTechnicalPlace, {{"place", *why}}));
            return outcome;
        }
        comparison = Compare(checked.report, previous.checked->report);
        for (Finding& finding : CheckComparison(*comparison))
            checked.findings.push_back(std::move(finding));
    }
    const Comparison* compared = comparison ? &*comparison : nullptr;
    outcome.out = TextView(checked, compared, verbose);
    outcome.findings = checked.findings;
    outcome.formItems = data_;
    outcome.status = CountOf(checked.findings, Severity::kFinding) > 0 ? kFindings : kClean;
    if (!pagePath.empty()) {
        const platform::Status written =
            files_.WriteWhole(pagePath, HtmlView(checked, compared, stamp_));
        const std::string shownPage = ArgumentToUtf8(pagePath);
        if (!written.ok()) {
            outcome.err +=
                Line(Fill(texts::kPageNotWritten, {{"file", shownPage}})) +
                Line(Fill(texts::kTechnicalPlace,
                          {{"place", Fill(texts::kSystemError,
                                          {{"file", shownPage},
                                           {"code", std::to_string(written.code())}})}}));
            outcome.status = kUnreadable;
        } else {
            outcome.pagePath = pagePath;
            outcome.out += Line(Fill(texts::kPageWritten, {{"file", shownPage}}));
        }
    }
    return outcome;
}

CheckOutcome ReportChecker::Summarize(const std::vector<std::string>& inputs,
                                      const std::string& pagePath) {
    CheckOutcome outcome;
    std::vector<std::string> paths;
    for (const std::string& input : inputs) {
        if (!files_.IsFolder(input)) {
            paths.push_back(input);
            continue;
        }
        std::vector<std::string> names;
        const platform::Status listed = files_.ListFiles(input, names);
        if (!listed.ok()) {
            outcome.err += Line(Fill(texts::kCannotOpen, {{"file", ArgumentToUtf8(input)}}));
            continue;
        }
        std::sort(names.begin(), names.end());
        const std::size_t before = paths.size();
        for (const std::string& name : names) {
            if (IsReportName(name))
                paths.push_back(InFolder(input, name));
        }
        if (paths.size() == before)
            outcome.err += Line(Fill(texts::kNoReportsIn, {{"folder", ArgumentToUtf8(input)}}));
    }
    if (paths.empty()) {
        outcome.status = kUnreadable;
        return outcome;
    }

    const std::string pageFolder = pagePath.substr(0, NameStart(pagePath));
    std::set<std::string> pageNames = {pagePath.substr(NameStart(pagePath))};
    std::vector<SummaryRow> rows;
    int worst = outcome.err.empty() ? kClean : kUnreadable;
    for (const std::string& path : paths) {
        SummaryRow row;
        row.source = ArgumentToUtf8(path);
        Loaded loaded;
        std::string problem;
        if (!Load(path, loaded, problem)) {
            row.problem =
                Fill(loaded.problem == Loaded::Problem::kCannotOpen    ? texts::kSummaryCannotOpen
                     : loaded.problem == Loaded::Problem::kNoFormItems ? texts::kSummaryNoFormItems
                                                                       : texts::kSummaryNotAReport,
                     {{"place", loaded.place}});
            worst = kUnreadable;
            rows.push_back(std::move(row));
            continue;
        }
        const CheckedReport& checked = *loaded.checked;
        if (CountOf(checked.findings, Severity::kFinding) > 0)
            worst = std::max(worst, static_cast<int>(kFindings));
        if (!pagePath.empty()) {
            const std::size_t start = NameStart(path);
            const std::size_t dot = path.rfind('.');
            const std::string stem =
                path.substr(start, dot > start ? dot - start : std::string::npos);
            std::string name = stem + ".html";
            for (int n = 2; pageNames.count(name) > 0; ++n)
                name = stem + "-" + std::to_string(n) + ".html";
            pageNames.insert(name);
            const platform::Status written =
                files_.WriteWhole(pageFolder + name, HtmlView(checked, nullptr, stamp_));
            if (written.ok()) {
                row.page = LinkTo(ArgumentToUtf8(name));
            } else {
                outcome.err += Line(
                    Fill(texts::kPageNotWritten, {{"file", ArgumentToUtf8(pageFolder + name)}}));
                worst = kUnreadable;
            }
        }
        row.checked = std::move(loaded.checked);
        rows.push_back(std::move(row));
    }
    outcome.out = SummaryTextView(rows);
    if (!pagePath.empty()) {
        const std::string shownPage = ArgumentToUtf8(pagePath);
        if (files_.WriteWhole(pagePath, SummaryHtmlView(rows, stamp_)).ok()) {
            outcome.pagePath = pagePath;
            outcome.out += Line(Fill(texts::kPageWritten, {{"file", shownPage}}));
        } else {
            outcome.err += Line(Fill(texts::kPageNotWritten, {{"file", shownPage}}));
            worst = kUnreadable;
        }
    }
    outcome.status = static_cast<ExitStatus>(worst);
    return outcome;
}

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments,
                                    const std::string& defaultDataDir) {
    Options options;
    options.dataDir = defaultDataDir;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--data-dir" && hasValue) {
            options.dataDir = arguments[++i];
        } else if (argument == "--edition" && hasValue) {
            options.edition = arguments[++i];
            if (options.edition != "Ivy" && options.edition != "Oak" && options.edition != "Elm")
                return std::nullopt;
        } else if (argument == "--html" && hasValue) {
            options.htmlPath = arguments[++i];
        } else if (argument == "--previous" && hasValue) {
            options.previousPath = arguments[++i];
        } else if (argument == "--summary") {
            options.summary = true;
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (!argument.empty() && argument[0] != '-') {
            options.inputs.push_back(argument);
        } else {
            return std::nullopt;
        }
    }
    const bool oneReport = options.inputs.size() == 1 && !options.summary;
    const bool summary = !options.inputs.empty() && options.summary && options.previousPath.empty();
    if (!options.help && !oneReport && !summary)
        return std::nullopt;
    return options;
}

CheckOutcome RunCommand(const std::vector<std::string>& arguments, FileAccess& files,
                        const PageStamp& stamp) {
    CheckOutcome outcome;
    const std::optional<Options> options = ParseOptions(arguments, ProgramFolder());
    if (!options) {
        outcome.err = texts::kUsage;
        return outcome;
    }
    if (options->help) {
        outcome.status = kClean;
        outcome.out = texts::kUsage;
        return outcome;
    }
    ReportChecker checker(files, options->dataDir, options->edition, stamp);
    if (options->summary)
        return checker.Summarize(options->inputs, options->htmlPath);
    return checker.CheckOne(options->inputs.front(), options->previousPath, options->htmlPath,
                            options->verbose);
}

PageStamp StampNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char minute[8] = "00";
    if (local != nullptr)
        std::snprintf(minute, sizeof minute, "%02d", local->tm_min);
    PageStamp stamp;
    stamp.version = OVW_VERSION_TEXT;
    if (local != nullptr)
        stamp.checkedAt =
            Fill(texts::kCheckedAtFormat, {{"year", std::to_string(local->tm_year + 1900)},
                                           {"month", std::to_string(local->tm_mon + 1)},
                                           {"day", std::to_string(local->tm_mday)},
                                           {"hour", std::to_string(local->tm_hour)},
                                           {"minute", minute}});
    return stamp;
}

} // namespace checker
