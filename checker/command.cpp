#include "checker/command.h"

#include "checker/comparison.h"
#include "checker/editions.h"
#include "checker/format.h"
#include "platform/hex.h"
#include "settings/statement_files.h"
#include "texts/checker.h"

#include "ovw_version.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
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
    std::string link;
    for (unsigned char c : utf8Name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            link += static_cast<char>(c);
        } else {
            link += '%' + platform::HexByte(c);
        }
    }
    return link;
}

std::string Line(const std::string& text) {
    return text + "\n";
}

bool IsEditionName(const std::string& name) {
    for (const Edition* const* edition = Editions(); *edition != nullptr; ++edition) {
        if (name == (*edition)->dataPrefix)
            return true;
    }
    return false;
}

// What the command line asks for.
struct Options {
    std::string dataDir; // the form-item files' folder
    std::string edition; // empty: the report's own, else the first found
    std::string htmlPath;
    std::string previousPath;
    std::vector<std::string> inputs; // one report, or with summary several files and folders
    bool summary = false;
    bool verbose = false;
    bool help = false;
};

// The options of a command line (without the program's name); nothing when it is wrong.
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
            if (!IsEditionName(options.edition))
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

// Says in the outcome why a page was not written (and makes its status the worst); true when it
// was.
bool PageWritten(CheckOutcome& outcome, const std::string& pagePath,
                 const platform::Status& written) {
    if (written.ok())
        return true;
    const std::string shown = ArgumentToUtf8(pagePath);
    outcome.status = kUnreadable;
    if (written.cause() == platform::Cause::kBadFile) {
        outcome.err += Line(Fill(texts::kPageIsReport, {{"file", shown}}));
        return false;
    }
    outcome.err +=
        Line(Fill(texts::kPageNotWritten, {{"file", shown}})) +
        Line(Fill(texts::kTechnicalPlace,
                  {{"place", Fill(texts::kSystemError,
                                  {{"file", shown}, {"code", std::to_string(written.code())}})}}));
    return false;
}

} // namespace

// A file read: the report checked, or what kept it from being read.
struct ReportChecker::Loaded {
    std::string source; // the file name to show
    std::optional<CheckedReport> checked;
    // Else why: in the words of a check of one report and of a summary's cell (texts of the
    // catalogue), the technical place (file, line, column and what), and the form-item files
    // that could not be read.
    const char* problem = nullptr;
    const char* cell = nullptr;
    std::string place;
    std::vector<std::string> unreadable;
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
        const auto add = [&prefixes](const std::string& prefix) {
            if (std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end())
                prefixes.push_back(prefix);
        };
        if (!edition_.empty()) {
            add(edition_);
        } else {
            if (const Edition* own = EditionOf(programName))
                add(own->dataPrefix);
            for (const Edition* const* edition = Editions(); *edition != nullptr; ++edition)
                add((*edition)->dataPrefix);
        }
        failed_.clear();
        for (const std::string& prefix : prefixes) {
            const std::string path = InFolder(folder_, FormItemFileName(prefix, form));
            auto found = loaded_.find(path);
            if (found == loaded_.end()) {
                std::string bytes;
                const platform::Status read = files_.ReadWhole(path, bytes, kMaxReportSize);
                if (read.cause() == platform::Cause::kNoData)
                    continue;
                if (!read.ok() || bytes.size() > kMaxReportSize) {
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
                             PageStamp stamp, const char* dataAdvice)
    : files_(files),
      data_(std::make_shared<DataFolder>(files, std::move(dataDir), std::move(edition))),
      stamp_(std::move(stamp)), dataAdvice_(dataAdvice) {}

ReportChecker::~ReportChecker() = default;

ReportChecker::Loaded ReportChecker::Load(const std::string& path) {
    Loaded loaded;
    loaded.source = ArgumentToUtf8(path);
    std::string bytes;
    const platform::Status opened = files_.ReadWhole(path, bytes, kMaxReportSize);
    if (!opened.ok()) {
        loaded.problem = texts::kCannotOpen;
        loaded.cell = texts::kSummaryCannotOpen;
        loaded.place = Fill(texts::kSystemError,
                            {{"file", loaded.source}, {"code", std::to_string(opened.code())}});
        return loaded;
    }
    CheckedReport checked;
    checked.source = loaded.source;
    ReadError error;
    const FormItemsSource formItems = [this](FormGeneration form, const std::string& programName) {
        return data_->Get(form, programName);
    };
    const platform::Status read = ReadReport(bytes, formItems, checked.report, error);
    if (!read.ok()) {
        const bool noFormItems = read.cause() == platform::Cause::kNoData;
        loaded.problem = noFormItems ? texts::kNoFormItemsFor : texts::kNotAReport;
        loaded.cell = noFormItems ? texts::kSummaryNoFormItems : texts::kSummaryNotAReport;
        loaded.place = loaded.source + ":" + std::to_string(error.line) + ":" +
                       std::to_string(error.column) + ": " + error.message;
        if (noFormItems)
            loaded.unreadable = data_->Failed();
        return loaded;
    }
    checked.findings = CheckReport(checked.report);
    loaded.checked = std::move(checked);
    return loaded;
}

std::string ReportChecker::ProblemText(const Loaded& loaded) const {
    std::string text = Fill(loaded.problem, {{"file", loaded.source}});
    if (!loaded.unreadable.empty())
        text += dataAdvice_;
    text = Line(text) + Line(Fill(texts::kTechnicalPlace, {{"place", loaded.place}}));
    for (const std::string& file : loaded.unreadable)
        text += Line("  " + Fill(texts::kUnreadableFormItemFile, {{"file", file}}));
    return text;
}

bool ReportChecker::IsOneOf(const std::string& path, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (files_.SameFile(path, file))
            return true;
    }
    return false;
}

CheckOutcome ReportChecker::CheckOne(const std::string& path, const std::string& previousPath,
                                     bool verbose) {
    CheckOutcome outcome;
    Loaded loaded = Load(path);
    if (!loaded.checked) {
        outcome.err = ProblemText(loaded);
        return outcome;
    }
    outcome.read.push_back(path);
    CheckedReport& checked = *loaded.checked;
    Loaded previous;
    std::optional<Comparison> comparison;
    if (!previousPath.empty()) {
        previous = Load(previousPath);
        if (!previous.checked) {
            outcome.err = ProblemText(previous);
            return outcome;
        }
        outcome.read.push_back(previousPath);
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
    outcome.page = HtmlView(checked, compared, stamp_);
    outcome.findings = checked.findings;
    outcome.formItems = data_;
    outcome.status = CountOf(checked.findings, Severity::kFinding) > 0 ? kFindings : kClean;
    return outcome;
}

platform::Status ReportChecker::WritePage(const CheckOutcome& checked,
                                          const std::string& pagePath) {
    if (IsOneOf(pagePath, checked.read))
        return platform::Status::BadFile("write-page", pagePath, "a report read");
    return files_.WriteWhole(pagePath, checked.page);
}

CheckOutcome ReportChecker::Summarize(const std::vector<std::string>& inputs,
                                      const std::string& pagePath) {
    CheckOutcome outcome;
    std::vector<std::string> paths;
    std::vector<std::string> given; // the files named, not found in a folder
    for (const std::string& input : inputs) {
        if (!files_.IsFolder(input)) {
            paths.push_back(input);
            given.push_back(input);
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
    if (paths.empty())
        return outcome;
    // The summary page never replaces a report; nothing is checked then.
    if (!pagePath.empty() && IsOneOf(pagePath, paths)) {
        PageWritten(outcome, pagePath, platform::Status::BadFile("write-page", pagePath, ""));
        return outcome;
    }

    const std::string pageFolder = pagePath.substr(0, NameStart(pagePath));
    std::set<std::string> pageNames = {pagePath.substr(NameStart(pagePath))};
    std::set<std::string> unreadable; // form-item files, each said once
    std::vector<SummaryRow> rows;
    outcome.status = outcome.err.empty() ? kClean : kUnreadable;
    for (const std::string& path : paths) {
        SummaryRow row;
        Loaded loaded = Load(path);
        row.source = loaded.source;
        if (!loaded.checked) {
            row.problem = Fill(loaded.cell, {{"place", loaded.place}});
            for (const std::string& file : loaded.unreadable) {
                if (unreadable.insert(file).second)
                    outcome.err += Line(Fill(texts::kUnreadableFormItemFile, {{"file", file}}));
            }
            outcome.status = kUnreadable;
            rows.push_back(std::move(row));
            continue;
        }
        const CheckedReport& checked = *loaded.checked;
        if (CountOf(checked.findings, Severity::kFinding) > 0 && outcome.status == kClean)
            outcome.status = kFindings;
        if (!pagePath.empty()) {
            const std::size_t start = NameStart(path);
            const std::size_t dot = path.rfind('.');
            const std::string stem =
                path.substr(start, dot > start ? dot - start : std::string::npos);
            // Each report's page under a name of its own, never that of a report given.
            std::string name = stem + ".html";
            for (int n = 2; pageNames.count(name) > 0 || IsOneOf(pageFolder + name, given); ++n)
                name = stem + "-" + std::to_string(n) + ".html";
            pageNames.insert(name);
            if (PageWritten(
                    outcome, pageFolder + name,
                    files_.WriteWhole(pageFolder + name, HtmlView(checked, nullptr, stamp_))))
                row.page = LinkTo(ArgumentToUtf8(name));
        }
        row.checked = std::move(loaded.checked);
        rows.push_back(std::move(row));
    }
    outcome.out = SummaryTextView(rows);
    if (!pagePath.empty() &&
        PageWritten(outcome, pagePath, files_.WriteWhole(pagePath, SummaryHtmlView(rows, stamp_))))
        outcome.out += Line(Fill(texts::kPageWritten, {{"file", ArgumentToUtf8(pagePath)}}));
    return outcome;
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
    ReportChecker checker(files, options->dataDir, options->edition, stamp, texts::kDataDirAdvice);
    if (options->summary)
        return checker.Summarize(options->inputs, options->htmlPath);
    outcome = checker.CheckOne(options->inputs.front(), options->previousPath, options->verbose);
    const std::string& pagePath = options->htmlPath;
    if (!pagePath.empty() && !outcome.page.empty() &&
        PageWritten(outcome, pagePath, checker.WritePage(outcome, pagePath)))
        outcome.out += Line(Fill(texts::kPageWritten, {{"file", ArgumentToUtf8(pagePath)}}));
    return outcome;
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
