// The checker's command, as functions: check one report (against last year's when asked) or a
// summary of several, and say what was found. The console program (main.cpp) is a thin caller;
// another front end (a window) can call the same functions.
//   ovwcheck [--data-dir DIR] [--edition Ivy|Oak|Elm] [--html OUT.html] [--verbose]
//            [--previous LAST.xml] REPORT.xml
//   ovwcheck [--data-dir DIR] [--edition Ivy|Oak|Elm] [--html OUT.html] --summary FOLDER|REPORT...
#pragma once

#include "checker/checks.h"
#include "checker/system.h"
#include "checker/views.h"

#include <memory>
#include <string>
#include <vector>

namespace checker {

enum ExitStatus : int {
    kClean = 0,      // no findings
    kFindings = 1,   // findings
    kUnreadable = 2, // a file is not a readable report, a page cannot be written, or the command
                     // cannot be carried out
};

// What a check did: its exit status, what it printed, and the page of the report checked.
struct CheckOutcome {
    ExitStatus status = kUnreadable;
    std::string out;               // for the standard output
    std::string err;               // for the standard error
    std::vector<Finding> findings; // of the report checked alone
    std::string page;              // the page of a report checked (empty: none), to be written
    std::vector<std::string> read; // the reports read, which no page may replace
    // The form-item lines that the findings point into, kept as long as the outcome is.
    std::shared_ptr<const void> formItems;
};

// Checks reports with the form-item files of one data folder, read once.
class ReportChecker {
  public:
    // dataAdvice: what the user can do when the form-item files cannot be read (a text of the
    // catalogue: the console names --data-dir).
    ReportChecker(FileAccess& files, std::string dataDir, std::string edition, PageStamp stamp,
                  const char* dataAdvice);
    ~ReportChecker();
    ReportChecker(const ReportChecker&) = delete;
    ReportChecker& operator=(const ReportChecker&) = delete;

    // One report; previousPath (may be empty) is last year's. The status is kUnreadable only
    // when a report could not be read or the two cannot be compared; then there is no page.
    CheckOutcome CheckOne(const std::string& path, const std::string& previousPath, bool verbose);
    // Writes the page of a report checked to pagePath, whole or not at all. Refuses (a bad
    // file) a path that names a report read for it, which the page would replace.
    platform::Status WritePage(const CheckOutcome& checked, const std::string& pagePath);
    // Every report of the folders (their *.xml files) and files given; pagePath (may be empty)
    // the summary page, with each report's own page beside it.
    CheckOutcome Summarize(const std::vector<std::string>& inputs, const std::string& pagePath);

  private:
    struct Loaded;
    class DataFolder;

    // Reads and checks one file.
    Loaded Load(const std::string& path);
    // Why a file was not read as a report, for the standard error.
    std::string ProblemText(const Loaded& loaded) const;
    // Whether path names one of the files given.
    bool IsOneOf(const std::string& path, const std::vector<std::string>& files);

    FileAccess& files_;
    std::shared_ptr<DataFolder> data_;
    PageStamp stamp_;
    const char* dataAdvice_;
};

// The whole command: parses the arguments and carries them out.
CheckOutcome RunCommand(const std::vector<std::string>& arguments, FileAccess& files,
                        const PageStamp& stamp);

// The stamp of a check made now, with the checker's version.
PageStamp StampNow();

} // namespace checker
