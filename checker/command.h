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

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace checker {

enum ExitStatus : int {
    kClean = 0,      // no findings
    kFindings = 1,   // findings
    kUnreadable = 2, // a file is not a readable report, or the command cannot be carried out
};

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
                                    const std::string& defaultDataDir);

// What a check did: its exit status, what it printed, and the page it wrote (empty: none).
struct CheckOutcome {
    ExitStatus status = kUnreadable;
    std::string out; // for the standard output
    std::string err; // for the standard error
    std::string pagePath;
    std::vector<Finding> findings; // of the report checked alone
    // The form-item lines that the findings point into, kept as long as the outcome is.
    std::shared_ptr<const void> formItems;
};

// Checks reports with the form-item files of one data folder, read once.
class ReportChecker {
  public:
    ReportChecker(FileAccess& files, std::string dataDir, std::string edition, PageStamp stamp);
    ~ReportChecker();
    ReportChecker(const ReportChecker&) = delete;
    ReportChecker& operator=(const ReportChecker&) = delete;

    // One report; previousPath (may be empty) is last year's, pagePath (may be empty) the page
    // to write.
    CheckOutcome CheckOne(const std::string& path, const std::string& previousPath,
                          const std::string& pagePath, bool verbose);
    // Every report of the folders (their *.xml files) and files given; pagePath (may be empty)
    // the summary page, with each report's own page beside it.
    CheckOutcome Summarize(const std::vector<std::string>& inputs, const std::string& pagePath);

  private:
    struct Loaded;
    class DataFolder;

    // Reads and checks one file; false with the reason in plain words (and the technical place
    // on its own line) when it is no readable report.
    [[nodiscard]] bool Load(const std::string& path, Loaded& loaded, std::string& problem);

    FileAccess& files_;
    std::shared_ptr<DataFolder> data_;
    PageStamp stamp_;
};

// The whole command: parses the arguments and carries them out.
CheckOutcome RunCommand(const std::vector<std::string>& arguments, FileAccess& files,
                        const PageStamp& stamp);

// The stamp of a check made now, with the checker's version.
PageStamp StampNow();

} // namespace checker
