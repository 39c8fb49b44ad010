// The checker's command over files held in memory: the command line, one report with its page,
// last year's report, a summary of a folder of reports of three editions and a broken file, and
// every file operation of a summary failing in turn. The real files of Linux are tried last.
#include "checker/command.h"
#include "support/process_folder.h"
#include "unit/checker_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

using checker_test::CommittedReport;
using checker_test::Edited;
using checker_test::ReadBytes;

namespace {

using Strings = std::vector<std::string>;

// Files and folders in memory; paths with '/'. A fault makes the n-th operation (read, list or
// write) fail, as a full disk or a lost share would; a write is whole or nothing, as the real one.
class MemoryFiles : public checker::FileAccess {
  public:
    MemoryFiles() {
        for (const char* edition : {"Ivy", "Oak", "Elm"}) {
            for (FormGeneration form : {FormGeneration::k16, FormGeneration::k30}) {
                const std::string name = FormItemFileName(edition, form);
                files["/bin/" + name] = ReadBytes(std::string(OVW_BIN_DIR) + "/" + name);
            }
        }
        folders.insert("/bin");
    }

    platform::Status ReadWhole(const std::string& path, std::string& bytes,
                               std::size_t limit) override {
        if (Fault())
            return platform::Status::Io("open", 5, path);
        if (files.count(path) == 0)
            return platform::Status::NoData("open", 2);
        largestRead = std::max(largestRead, std::min(files[path].size(), limit + 1));
        bytes = files[path].substr(0, limit + 1);
        return {};
    }

    bool SameFile(const std::string& one, const std::string& other) override {
        return one == other && files.count(one) > 0;
    }

    bool IsFolder(const std::string& path) override { return folders.count(path) > 0; }

    platform::Status ListFiles(const std::string& folder, Strings& names) override {
        if (Fault() || folders.count(folder) == 0)
            return platform::Status::Io("list-folder", 3, folder);
        names.clear();
        for (const auto& [path, bytes] : files) {
            if (path.compare(0, folder.size() + 1, folder + "/") == 0 &&
                path.find('/', folder.size() + 1) == std::string::npos)
                names.push_back(path.substr(folder.size() + 1));
        }
        return {};
    }

    platform::Status WriteWhole(const std::string& path, const std::string& bytes) override {
        if (Fault() || folders.count(path.substr(0, path.rfind('/'))) == 0)
            return platform::Status::Io("write-page", 112, path);
        files[path] = bytes;
        return {};
    }

    // Operation n from now fails (0: none).
    void FailNth(int n) {
        failAt_ = n;
        operations_ = 0;
    }
    int Operations() const { return operations_; }

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::size_t largestRead = 0; // the most bytes of one file read

  private:
    bool Fault() { return ++operations_ == failAt_; }

    int failAt_ = 0;
    int operations_ = 0;
};

const checker::PageStamp kStamp{u8"2025年5月20日 9:05", "21.00.01"};

checker::CheckOutcome RunChecker(MemoryFiles& files, const Strings& arguments) {
    Strings withData = {"--data-dir", "/bin"};
    withData.insert(withData.end(), arguments.begin(), arguments.end());
    return checker::RunCommand(withData, files, kStamp);
}

// A folder of clients: a report of each edition, a file that is no report, and a page.
void AddClients(MemoryFiles& files) {
    files.folders.insert("/clients");
    const std::string report = CommittedReport(FormGeneration::k30);
    files.files["/clients/a_ivy.xml"] = report;
    files.files["/clients/b_oak.xml"] =
        Edited(Edited(report, "Tessel</PROGRAMNAME>", "Quill</PROGRAMNAME>"),
               "<SIHON>82143903</SIHON>", "<SIHON>80143903</SIHON>");
    files.files["/clients/c_elm.XML"] =
        Edited(CommittedReport(FormGeneration::k16), "\x82\x51\x82\x50 Tessel</PROGRAMNAME>",
               "\x82\x51\x82\x50</PROGRAMNAME>");
    files.files["/clients/d_broken.xml"] = report.substr(0, 3000);
    files.files["/clients/notes.txt"] = "not a report";
    files.folders.insert("/out");
}

} // namespace

TEST(CheckerCommand, CommandLines) {
    MemoryFiles files;
    // Whether the command takes the line (and then looks for the reports, which are not there).
    const auto taken = [&files](const Strings& arguments) {
        const auto outcome = checker::RunCommand(arguments, files, kStamp);
        return outcome.err.find(u8"使い方: ovwcheck") == std::string::npos;
    };
    EXPECT_TRUE(taken({"r.xml"}));
    EXPECT_TRUE(taken({"--previous", "l.xml", "--html", "p.html", "--verbose", "r.xml"}));
    EXPECT_TRUE(taken({"--summary", "/clients", "r.xml"}));
    EXPECT_TRUE(taken({"--edition", "Oak", "--data-dir", "/bin", "r.xml"}));
    EXPECT_FALSE(taken({}));
    EXPECT_FALSE(taken({"a.xml", "b.xml"})); // several without --summary
    EXPECT_FALSE(taken({"--summary"}));      // nothing to sum up
    EXPECT_FALSE(taken({"--summary", "--previous", "l.xml", "/clients"}));
    EXPECT_FALSE(taken({"--edition", "Pine", "r.xml"}));
    EXPECT_FALSE(taken({"--edition", "ivy", "r.xml"}));
    EXPECT_FALSE(taken({"--previous"}));
    EXPECT_FALSE(taken({"--colour", "r.xml"}));
    const auto wrong = RunChecker(files, {"a.xml", "b.xml"});
    EXPECT_EQ(checker::kUnreadable, wrong.status);
    EXPECT_EQ(0u, wrong.err.find(u8"使い方: ovwcheck"));
    const auto help = RunChecker(files, {"--help"});
    EXPECT_EQ(checker::kClean, help.status);
    EXPECT_EQ(0u, help.out.find(u8"使い方: ovwcheck"));
}

TEST(CheckerCommand, OneReportWithItsPageAndLastYear) {
    MemoryFiles files;
    files.folders.insert("/r");
    files.files["/r/2025.xml"] = CommittedReport(FormGeneration::k30);
    auto outcome = RunChecker(files, {"--html", "/r/2025.html", "/r/2025.xml"});
    EXPECT_EQ(checker::kClean, outcome.status) << outcome.err;
    EXPECT_NE(std::string::npos, files.files["/r/2025.html"].find(u8"事業概況書 確認表"));
    EXPECT_NE(std::string::npos, outcome.out.find(u8"ページ: /r/2025.html\n"));

    // Last year with a line that vanished since: a finding, and the page shows both years.
    std::string last = Edited(CommittedReport(FormGeneration::k30), "<JIGYOUNENDOFROM>20240401<",
                              "<JIGYOUNENDOFROM>20230401<");
    last = Edited(last, "<JIGYOUNENDOTO>20250331<", "<JIGYOUNENDOTO>20240331<");
    files.files["/r/2024.xml"] = Edited(last, "<ROUMUHI></ROUMUHI>", "<ROUMUHI>1200000</ROUMUHI>");
    outcome =
        RunChecker(files, {"--previous", "/r/2024.xml", "--html", "/r/2025.html", "/r/2025.xml"});
    EXPECT_EQ(checker::kFindings, outcome.status) << outcome.err;
    ASSERT_EQ(1, checker::CountOf(outcome.findings, checker::Severity::kFinding));
    EXPECT_EQ(std::string("vanished"), outcome.findings.back().rule->id);
    EXPECT_EQ("ROUMUHI", outcome.findings.back().lines.front()->tag);
    EXPECT_NE(std::string::npos, files.files["/r/2025.html"].find("class=\"bar-last\""));

    // Last year's report given as this year's: a clear refusal.
    outcome = RunChecker(files, {"--previous", "/r/2025.xml", "/r/2024.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(0u,
              outcome.err.find(
                  u8"/r/2024.xml を前年の報告書と比べられません。\n  場所: 前年の報告書の事業年度"))
        << outcome.err;

    // A page that cannot be written: said so, exit status 2, the check itself still shown.
    outcome = RunChecker(files, {"--html", "/nowhere/p.html", "/r/2025.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_NE(std::string::npos, outcome.out.find(u8"指摘はありません。"));
    EXPECT_EQ(0u, outcome.err.find(u8"/nowhere/p.html: ページを書けません。"));
    EXPECT_EQ(0u, files.files.count("/nowhere/p.html"));
}

TEST(CheckerCommand, APageNeverReplacesAReportRead) {
    MemoryFiles files;
    files.folders.insert("/r");
    const std::string report = CommittedReport(FormGeneration::k30);
    files.files["/r/2025.xml"] = report;
    auto outcome = RunChecker(files, {"--html", "/r/2025.xml", "/r/2025.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(u8"/r/2025.xml: ページを書きません。確認する報告書と同じファイルです。ページには"
              u8"別の名前を指定してください。\n",
              outcome.err);
    EXPECT_NE(std::string::npos, outcome.out.find(u8"指摘はありません。"));
    EXPECT_EQ(report, files.files["/r/2025.xml"]);
    // Nor last year's report.
    std::string last = Edited(report, "<JIGYOUNENDOFROM>20240401<", "<JIGYOUNENDOFROM>20230401<");
    last = Edited(last, "<JIGYOUNENDOTO>20250331<", "<JIGYOUNENDOTO>20240331<");
    files.files["/r/2024.xml"] = last;
    outcome =
        RunChecker(files, {"--previous", "/r/2024.xml", "--html", "/r/2024.xml", "/r/2025.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(last, files.files["/r/2024.xml"]);

    // A summary page that is one of the reports: refused before anything is written.
    AddClients(files);
    const auto before = files.files;
    outcome = RunChecker(files, {"--summary", "--html", "/clients/a_ivy.xml", "/clients"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(0u, outcome.err.find(u8"/clients/a_ivy.xml: ページを書きません。")) << outcome.err;
    EXPECT_EQ(before, files.files);
    // A report given by name whose own page would be itself: the page takes another name.
    files.files["/out/x.html"] = report;
    outcome = RunChecker(files, {"--summary", "--html", "/out/s.html", "/out/x.html"});
    EXPECT_EQ(checker::kClean, outcome.status) << outcome.err;
    EXPECT_EQ(report, files.files["/out/x.html"]);
    EXPECT_NE(std::string::npos, files.files["/out/x-2.html"].find(u8"事業概況書 確認表"));
    EXPECT_NE(std::string::npos, files.files["/out/s.html"].find("<a href=\"x-2.html\">"));
}

// As the window uses it: the check stands whether or not its page can be written, and the page
// goes wherever it is asked to next.
TEST(CheckerCommand, TheCheckStandsWhereItsPageCannotBeWritten) {
    MemoryFiles files;
    files.folders.insert("/r");
    files.folders.insert("/tmp");
    files.files["/r/2025.xml"] = Edited(CommittedReport(FormGeneration::k30),
                                        "<SIHON>82143903</SIHON>", "<SIHON>80143903</SIHON>");
    checker::ReportChecker checker(files, "/bin", "", kStamp, "");
    const checker::CheckOutcome outcome = checker.CheckOne("/r/2025.xml", "", false);
    ASSERT_EQ(checker::kFindings, outcome.status) << outcome.err;
    EXPECT_EQ(1, checker::CountOf(outcome.findings, checker::Severity::kFinding));
    const platform::Status beside = checker.WritePage(outcome, "/read-only/2025.html");
    EXPECT_EQ(platform::Cause::kIo, beside.cause());
    EXPECT_TRUE(checker.WritePage(outcome, "/tmp/2025.html").ok());
    EXPECT_NE(std::string::npos, files.files["/tmp/2025.html"].find(u8"貸借が合いません。"));
    EXPECT_EQ(platform::Cause::kBadFile, checker.WritePage(outcome, "/r/2025.xml").cause());

    // The form-item files missing: the advice is the front end's own.
    checker::ReportChecker noData(files, "/empty", "", kStamp, u8"入れ直してください。");
    const checker::CheckOutcome unread = noData.CheckOne("/r/2025.xml", "", false);
    EXPECT_EQ(checker::kUnreadable, unread.status);
    EXPECT_TRUE(unread.page.empty());
    EXPECT_EQ(0u, unread.err.find(u8"/r/2025.xml を確認できません。確認に使う項目ファイルが読め"
                                  u8"ません。入れ直してください。\n"))
        << unread.err;
    EXPECT_EQ(std::string::npos, unread.err.find("--data-dir"));
}

TEST(CheckerCommand, AnUnreadableFileSaysFirstToWriteItAgain) {
    MemoryFiles files;
    files.files["/r.xml"] = CommittedReport(FormGeneration::k30).substr(0, 3000);
    auto outcome = RunChecker(files, {"/r.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(
        u8"/r.xml は、事業概況書の報告書として完全なものではありません。連動プログラムで報告書"
        u8"をもう一度書き出してから確認してください。\n  場所: /r.xml:72:48: ファイルが途中で"
        u8"切れています。報告書は </REPORT> の行で終わるはずです。\n",
        outcome.err);
    // The checker's own form-item files missing: the report is not to blame.
    files.files["/r.xml"] = CommittedReport(FormGeneration::k30);
    outcome = checker::RunCommand({"--data-dir", "/empty", "/r.xml"}, files, kStamp);
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(0u,
              outcome.err.find(u8"/r.xml を確認できません。確認に使う項目ファイルが読めません。"
                               u8"--data-dir で項目ファイルのあるフォルダーを指定してください。"))
        << outcome.err;
    EXPECT_NE(std::string::npos,
              outcome.err.find(u8"  読めない項目ファイル: /empty/IvyOvw21ToRv30_G_GaiKmk.dat\n"));
    // In a summary, each such file is named once, whatever the number of reports it stops.
    files.files["/r2.xml"] = files.files["/r.xml"];
    outcome = checker::RunCommand({"--data-dir", "/empty", "--summary", "/r.xml", "/r2.xml"}, files,
                                  kStamp);
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_EQ(u8"読めない項目ファイル: /empty/IvyOvw21ToRv30_G_GaiKmk.dat\n", outcome.err);
}

TEST(CheckerCommand, AHugeFileIsRefusedUnread) {
    MemoryFiles files;
    files.folders.insert("/r");
    files.files["/r/huge.xml"] =
        CommittedReport(FormGeneration::k30) + std::string(checker::kMaxReportSize, ' ');
    const auto outcome = RunChecker(files, {"/r/huge.xml"});
    EXPECT_EQ(checker::kUnreadable, outcome.status);
    EXPECT_NE(std::string::npos,
              outcome.err.find(u8"ファイルが大きすぎます（1048576 バイトを超えています）。"))
        << outcome.err;
    EXPECT_EQ(checker::kMaxReportSize + 1, files.largestRead);
    // Within the limit, the same file is read whole.
    files.files["/r/huge.xml"].resize(checker::kMaxReportSize);
    files.largestRead = 0;
    static_cast<void>(RunChecker(files, {"/r/huge.xml"}));
    EXPECT_EQ(checker::kMaxReportSize, files.largestRead);
}

TEST(CheckerCommand, ASummaryOfThreeEditionsAndABrokenFile) {
    MemoryFiles files;
    AddClients(files);
    const auto outcome =
        RunChecker(files, {"--summary", "--html", "/out/summary.html", "/clients"});
    // The worst of the four: a file that is no report.
    EXPECT_EQ(checker::kUnreadable, outcome.status) << outcome.err;
    Strings lines;
    for (std::size_t at = 0; at < outcome.out.size();) {
        const std::size_t end = outcome.out.find('\n', at);
        lines.push_back(outcome.out.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(6u, lines.size()) << outcome.out; // heading, four reports, the page
    EXPECT_EQ(0u, lines[1].find("/clients/a_ivy.xml  "));
    EXPECT_NE(std::string::npos, lines[1].find(u8"株式会社みなと商事"));
    EXPECT_NE(std::string::npos, lines[1].find(" Ivy "));
    EXPECT_LT(lines[1].find("338,797,350"), lines[1].find("162,723,469"));
    EXPECT_NE(std::string::npos, lines[2].find(" Oak "));
    EXPECT_NE(std::string::npos,
              lines[2].find(u8"1     2  2ページ目「資産の部合計」: 貸借が合いません。"));
    EXPECT_NE(std::string::npos, lines[3].find(" Elm "));
    EXPECT_EQ(0u, lines[4].find(u8"/clients/d_broken.xml  読めません  "));
    EXPECT_NE(
        std::string::npos,
        lines[4].find(u8"  完全な報告書ではありません。連動プログラムで書き出し直してください。"
                      u8"（/clients/d_broken.xml:72:48: ファイルが途中で切れています。"));
    EXPECT_EQ(std::string::npos, outcome.out.find("notes.txt"));

    // One page for the summary and one for each report, linked from it.
    const std::string& summary = files.files["/out/summary.html"];
    EXPECT_NE(std::string::npos, summary.find(u8"事業概況書 確認表（一覧）"));
    for (const char* page : {"a_ivy", "b_oak", "c_elm"}) {
        EXPECT_NE(std::string::npos, summary.find(std::string("<a href=\"") + page + ".html\">"))
            << page;
        EXPECT_NE(std::string::npos,
                  files.files["/out/" + std::string(page) + ".html"].find(u8"事業概況書 確認表"));
    }
    EXPECT_EQ(0u, files.files.count("/out/d_broken.html"));
    EXPECT_NE(std::string::npos, summary.find("<tr class=\"unreadable\">"));
}

TEST(CheckerCommand, EveryFileOperationOfASummaryFailingInTurnIsSaid) {
    int operations = 0;
    {
        MemoryFiles files;
        AddClients(files);
        files.files.erase("/clients/d_broken.xml");
        const auto outcome = RunChecker(files, {"--summary", "--html", "/out/s.html", "/clients"});
        ASSERT_EQ(checker::kFindings, outcome.status) << outcome.err;
        operations = files.Operations();
        ASSERT_GT(operations, 8);
    }
    for (int n = 1; n <= operations; ++n) {
        MemoryFiles files;
        AddClients(files);
        files.files.erase("/clients/d_broken.xml");
        const auto before = files.files;
        files.FailNth(n);
        const auto outcome = RunChecker(files, {"--summary", "--html", "/out/s.html", "/clients"});
        // Never success: the failure is said, and what could be done is done.
        EXPECT_EQ(checker::kUnreadable, outcome.status) << "operation " << n;
        EXPECT_FALSE(outcome.err.empty() && outcome.out.find(u8"読めません") == std::string::npos)
            << "operation " << n << " failed unsaid";
        // Nothing but the pages is ever written.
        for (const auto& [path, bytes] : files.files) {
            if (before.count(path) == 0)
                EXPECT_EQ(0u, path.find("/out/")) << path;
            else
                EXPECT_EQ(before.at(path), bytes) << path;
        }
    }
}

TEST(CheckerCommand, TheSystemsFilesAreWrittenWholeOrNotAtAll) {
    const std::string folder = testsupport::ProcessFolder() + "checker-files";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/page.html.d");
    const auto files = checker::SystemFileAccess();
    ASSERT_TRUE(files->WriteWhole(folder + "/page.html", "old").ok());
    ASSERT_TRUE(files->WriteWhole(folder + "/page.html", "new page").ok());
    std::string bytes;
    ASSERT_TRUE(files->ReadWhole(folder + "/page.html", bytes, 8).ok());
    EXPECT_EQ("new page", bytes);
    // Never more than one byte beyond the limit.
    ASSERT_TRUE(files->ReadWhole(folder + "/page.html", bytes, 3).ok());
    EXPECT_EQ("new ", bytes);
    // A folder where the page should go, and a folder that is not there: refused, nothing left.
    const platform::Status onFolder = files->WriteWhole(folder + "/page.html.d", "x");
    EXPECT_EQ(platform::Cause::kIo, onFolder.cause());
    EXPECT_NE(0, onFolder.code());
    EXPECT_FALSE(files->WriteWhole(folder + "/missing/page.html", "x").ok());
    Strings names;
    ASSERT_TRUE(files->ListFiles(folder, names).ok());
    EXPECT_EQ(Strings{"page.html"}, names);
    EXPECT_TRUE(files->SameFile(folder + "/page.html", folder + "/../checker-files/page.html"));
    EXPECT_FALSE(files->SameFile(folder + "/page.html", folder + "/page.html.d"));
    EXPECT_FALSE(files->SameFile(folder + "/none.html", folder + "/none.html"));
    EXPECT_TRUE(files->IsFolder(folder + "/page.html.d"));
    EXPECT_FALSE(files->IsFolder(folder + "/page.html"));
    EXPECT_EQ(platform::Cause::kNoData, files->ReadWhole(folder + "/none.xml", bytes, 9).cause());
    EXPECT_EQ(platform::Cause::kIo, files->ReadWhole(folder + "/page.html.d", bytes, 9).cause());
    std::filesystem::remove_all(folder);
}
