// The overview report: whole documents of both generations against expected files, the edge
// cases of amounts, lines and months, the progress it drives, and that a failure at any write
// leaves the target as it was.
#include "report/report_writer.h"

#include "app/edition.h"
#include "report_test_support.h"
#include "support/fault_loops.h"
#include "support/file_bytes.h"
#include "support/memory_filesystem.h"
#include "support/portable/heap_memory.h"
#include "support/portable/text_mapping.h"
#include "support/status_matchers.h"

#include "settings/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

using reporttest::RecordingDesktop;
using reporttest::RecordingProgress;
using testsupport::MemoryFileSystem;

namespace {

const char kTarget[] = "C:\\出力\\表\\report.xml";

std::string ExpectedFile(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(testsupport::ReadFileBytes(
        std::string(OVW_SOURCE_DIR) + "/tests/data/report/" + name, bytes))
        << name;
    return bytes;
}

void AddLine(StatementLines& lines, int lineNo, const std::string& tag,
             std::initializer_list<std::int64_t> amounts) {
    auto line = std::make_unique<StatementLine>();
    line->lineNo = static_cast<std::int16_t>(lineNo);
    line->tag = tag;
    std::size_t slot = 0;
    for (std::int64_t amount : amounts)
        line->amounts[slot++] = amount;
    lines.push_back(std::move(line));
}

StDATAINFO DataRecord(const std::string& companyName, int periodStart, int periodEnd) {
    StDATAINFO record{};
    std::memcpy(record.companyNameField(), companyName.data(), companyName.size());
    record.set_periodStart(periodStart);
    record.set_periodEnd(periodEnd);
    return record;
}

class ReportWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.AddStandardMachine();
        fs.AddFolder("C:\\出力\\表");
    }

    platform::Status Write(FormGeneration form, std::int16_t functionId = 2, int firstMonth = 4,
                           const StDATAINFO& record = DataRecord("ABC", 20170401, 20180331),
                           const Edition& edition = kEditionIvy) {
        ClReportWriter writer(progress, lines, form, edition.defaultProductName, services);
        return writer.WriteReport(kTarget, functionId, firstMonth, record);
    }
    std::string Report() const { return fs.FileBytes(kTarget); }
    // The lines of the written report between the first line holding from and the next line
    // holding to (both included).
    std::string Between(const std::string& from, const std::string& to) const {
        const std::string report = Report();
        const std::size_t begin = report.rfind('\n', report.find(from)) + 1;
        const std::size_t end = report.find("\r\n", report.find(to, begin)) + 2;
        return report.substr(begin, end - begin);
    }

    MemoryFileSystem fs;
    RecordingDesktop desktop;
    platform::PortableTextMapping text;
    reporttest::FixedStrings strings;
    platform::HeapMemory memory;
    ReportServices services{fs, desktop, text, strings, memory};
    RecordingProgress progress;
    StatementLines lines;
};

} // namespace

TEST_F(ReportWriterTest, OlderGenerationMatchesTheExpectedFile) {
    AddLine(lines, 1, "URIAGEDAKA", {12345678999900});
    AddLine(lines, 2, "URIAGEGENKA", {-5000});
    AddLine(lines, 3, "-", {70000});
    AddLine(lines, 4, "EIGYOURIEKI", {10000000000000000});
    AddLine(lines, 5, "KEIJOURIEKI", {-999999999990000});
    AddLine(lines, 35, "TOUKIRIEKI", {59999});
    AddLine(lines, 36, "URIAGE",
            {1, 1000000, 2000000, 3000000, 4000000, 5000000, 6000000, 7000000, 8000000, 9000000,
             10000000, 11000000, 12000000});
    AddLine(lines, 37, "SHIIRE-X", {0, 50000});
    AddLine(
        lines, 38, "GAICHUHI",
        {0, -123456789, 9999, 9999999999999999, 10000000000000000, 0, 0, 0, 0, 0, 0, 0, -10000});

    ASSERT_OK(
        Write(FormGeneration::k16, 2, 4, DataRecord("株式会社ABC ｶﾌﾞｼｷ", 20170401, 20180331)));

    EXPECT_EQ(ExpectedFile("rv16_expected.xml"), Report());
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ReportWriterTest, NewerGenerationMatchesTheExpectedFile) {
    // Placeholder tags on line 1 and on line M - 1 still open and close the main items.
    AddLine(lines, 1, "-", {10000});
    AddLine(lines, 2, "URIAGEDAKA", {3000000});
    AddLine(lines, 3, "KEIJOURIEKI", {-19999});
    AddLine(lines, 36, "-", {10000});
    AddLine(
        lines, 37, "URIAGE",
        {0, 10000, 20000, 30000, 40000, 50000, 60000, 70000, 80000, 90000, 100000, 110000, 120000});
    AddLine(lines, 38, "SHIIRE", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 70000});
    fs.AddFile("C:\\Program\\SUPPORT.INF",
               "[=製品名=]Orvano２１ Tessel & <Quill>\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]21.00.03\r\n");

    ASSERT_OK(
        Write(FormGeneration::k30, -7, 1, DataRecord("有限会社&ｿ表 <ﾎﾟ>", 20180401, 20190331)));

    EXPECT_EQ(ExpectedFile("rv30_expected.xml"), Report());
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
}

TEST_F(ReportWriterTest, SupportFileAbsentOrEmptyGivesTheEditionDefaults) {
    const std::string absentQuill = "\t\t<PROGRAMNAME>Orvano２１ Quill</PROGRAMNAME>\r\n"
                                    "\t\t<PROGRAMVER>21.00.0X</PROGRAMVER>\r\n";
    ASSERT_OK(Write(FormGeneration::k16, 2, 4, DataRecord("A", 20170401, 20180331), kEditionOak));
    EXPECT_EQ(absentQuill, Between("<PROGRAMNAME>", "<PROGRAMVER>"));

    fs.AddFile("C:\\Program\\SUPPORT.INF", "[=製品名=]\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]\r\n");
    ASSERT_OK(Write(FormGeneration::k16, 2, 4, DataRecord("A", 20170401, 20180331), kEditionElm));
    EXPECT_EQ("\t\t<PROGRAMNAME>Orvano２１</PROGRAMNAME>\r\n"
              "\t\t<PROGRAMVER>21.00.0X</PROGRAMVER>\r\n",
              Between("<PROGRAMNAME>", "<PROGRAMVER>"));
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
}

TEST_F(ReportWriterTest, SupportValuesLongerThanTheirBuffersAreWrittenWhole) {
    const std::string name = "製品" + std::string(300, 'n') + "表";
    fs.AddFile("C:\\Program\\SUPPORT.INF", "[=製品名=]" + name + "\r\n");
    ASSERT_OK(Write(FormGeneration::k16));
    EXPECT_EQ("\t\t<PROGRAMNAME>" + name + "</PROGRAMNAME>\r\n",
              Between("<PROGRAMNAME>", "</PROGRAMNAME>"));
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
}

TEST_F(ReportWriterTest, CompanyNameOfTwentyLettersIsCutToSixteenFullWidthLetters) {
    ASSERT_OK(
        Write(FormGeneration::k16, 2, 4, DataRecord("ABCDEFGHIJKLMNOPQRST", 20170401, 20180331)));
    EXPECT_EQ("\t\t<KOMONSAKINAME>ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ</KOMONSAKINAME>\r\n",
              Between("<KOMONSAKINAME>", "</KOMONSAKINAME>"));
}

TEST_F(ReportWriterTest, CompanyNameFillingItsFieldIsReadWithinTheField) {
    StDATAINFO record{};
    std::memset(record.companyNameField(), 'A', StDATAINFO::companyNameSize);
    record.set_periodStart(20170401); // the byte after the field, not a terminator
    ASSERT_OK(Write(FormGeneration::k16, 2, 4, record));
    EXPECT_EQ("\t\t<KOMONSAKINAME>ＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡＡ</KOMONSAKINAME>\r\n",
              Between("<KOMONSAKINAME>", "</KOMONSAKINAME>"));
}

TEST_F(ReportWriterTest, FirstMonthFourNumbersTheMonthsFourToThree) {
    ASSERT_OK(Write(FormGeneration::k30, 2, 4));
    EXPECT_EQ("\t\t\t<TUKIBETUURIAGEDAKA>\r\n"
              "\t\t\t\t<TUKIBETU_01>4</TUKIBETU_01>\r\n\t\t\t\t<TUKIBETU_02>5</TUKIBETU_02>\r\n"
              "\t\t\t\t<TUKIBETU_03>6</TUKIBETU_03>\r\n\t\t\t\t<TUKIBETU_04>7</TUKIBETU_04>\r\n"
              "\t\t\t\t<TUKIBETU_05>8</TUKIBETU_05>\r\n\t\t\t\t<TUKIBETU_06>9</TUKIBETU_06>\r\n"
              "\t\t\t\t<TUKIBETU_07>10</TUKIBETU_07>\r\n\t\t\t\t<TUKIBETU_08>11</TUKIBETU_08>\r\n"
              "\t\t\t\t<TUKIBETU_09>12</TUKIBETU_09>\r\n\t\t\t\t<TUKIBETU_10>1</TUKIBETU_10>\r\n"
              "\t\t\t\t<TUKIBETU_11>2</TUKIBETU_11>\r\n\t\t\t\t<TUKIBETU_12>3</TUKIBETU_12>\r\n"
              "\t\t\t</TUKIBETUURIAGEDAKA>\r\n",
              Between("<TUKIBETUURIAGEDAKA>", "</TUKIBETUURIAGEDAKA>"));
}

TEST_F(ReportWriterTest, MainItemsAreNeverRepeatedAsMonthlyItems) {
    // No line 36 in the older generation: the monthly items start at line 38.
    AddLine(lines, 1, "URIAGEDAKA", {10000});
    AddLine(lines, 35, "TOUKIRIEKI", {20000});
    AddLine(lines, 38, "GAICHUHI", {0, 30000});
    ASSERT_OK(Write(FormGeneration::k16, 2, 1));
    const std::string monthly = Between("<TUKIBETUURIAGEDAKA>", "</TUKIBETUURIAGEDAKA>");
    EXPECT_EQ(std::string::npos, monthly.find("URIAGEDAKA01")) << monthly;
    EXPECT_EQ(std::string::npos, monthly.find("TOUKIRIEKI")) << monthly;
    EXPECT_NE(std::string::npos, monthly.find("\t\t\t\t<GAICHUHI01>3</GAICHUHI01>\r\n")) << monthly;

    // No monthly line at all: only the months.
    lines.pop_back();
    ASSERT_OK(Write(FormGeneration::k16, 2, 1));
    const std::string months = Between("<TUKIBETUURIAGEDAKA>", "</TUKIBETUURIAGEDAKA>");
    EXPECT_EQ(std::string::npos, months.find("URIAGEDAKA01")) << months;
    EXPECT_EQ(14u, static_cast<std::size_t>(std::count(months.begin(), months.end(), '\n')))
        << months;
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
}

TEST_F(ReportWriterTest, DrivesTheProgressFromItsBaseToTheEnd) {
    AddLine(lines, 1, "A", {});
    AddLine(lines, 2, "-", {});
    AddLine(lines, 36, "M", {});
    AddLine(lines, 37, "N", {});
    ClReportWriter writer(progress, lines, FormGeneration::k16, kEditionIvy.defaultProductName,
                          services);
    writer.progressBase = 500;
    ASSERT_OK(writer.WriteReport(kTarget, 2, 4, DataRecord("A", 20170401, 20180331)));

    std::vector<std::string> expected;
    const auto ticks = [&expected](int n) { expected.insert(expected.end(), n, "T"); };
    ticks(1); // REPORT
    ticks(6); // the six SYSTEM elements
    expected.push_back("A500-600");
    ticks(1 + 4); // after SYSTEM, BASIC start and its three elements
    expected.push_back("A600-700");
    ticks(1 + 3); // after BASIC, main walk over lines 1, 2 and 36 (where it stops)
    ticks(12);    // one per month
    expected.push_back("A700-1000");
    ticks(1); // after DATA
    EXPECT_EQ(expected, progress.calls);
}

// Every SYUYOUKAMOKU opened is closed, and none is closed that was not opened, whatever lines
// the catalogue holds.
TEST_F(ReportWriterTest, CataloguesWithoutTheirGroupBoundariesGiveWellFormedReports) {
    struct Case {
        const char* name;
        std::vector<int> lineNumbers;
    };
    const Case cases[] = {
        {"line 1 only", {1}},
        {"no line 35", {1, 2, 34, 36}},
        {"no line 1", {2, 35, 36}},
        {"line 1 twice", {1, 1, 35}},
        {"line 35 before line 1", {35, 1, 2}},
        {"lines 1 and 35 twice", {1, 35, 1, 35}},
    };
    for (const Case& c : cases) {
        lines.clear();
        for (int lineNo : c.lineNumbers)
            AddLine(lines, lineNo,
                    "L" + std::to_string(lineNo) + "_" + std::to_string(lines.size()),
                    {lineNo * 10000});
        ASSERT_OK(Write(FormGeneration::k16)) << c.name;
        const std::string report = Report();
        EXPECT_EQ("", reporttest::XmllintErrors(report)) << c.name;
        const auto count = [&report](const std::string& text) {
            std::size_t n = 0;
            for (std::size_t at = report.find(text); at != std::string::npos;
                 at = report.find(text, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count("<SYUYOUKAMOKU>"), count("</SYUYOUKAMOKU>")) << c.name;
        for (std::size_t i = 0; i < c.lineNumbers.size(); ++i) {
            const std::string tag =
                "L" + std::to_string(c.lineNumbers[i]) + "_" + std::to_string(i);
            if (c.lineNumbers[i] < 36) {
                EXPECT_NE(std::string::npos, report.find("<" + tag + ">")) << c.name << " " << tag;
            }
        }
    }
    // The delivered order writes the group exactly as before.
    lines.clear();
    AddLine(lines, 1, "A", {10000});
    AddLine(lines, 35, "B", {20000});
    ASSERT_OK(Write(FormGeneration::k16));
    EXPECT_EQ("\t\t\t<SYUYOUKAMOKU>\r\n\t\t\t\t<A>1</A>\r\n\t\t\t\t<B>2</B>\r\n"
              "\t\t\t</SYUYOUKAMOKU>\r\n",
              Between("<SYUYOUKAMOKU>", "</SYUYOUKAMOKU>"));
}

TEST_F(ReportWriterTest, SupportValuesReachTheReportAsShiftJisCharactersOnly) {
    // A control character, and a lone lead byte right before the line end, which would swallow
    // the '<' of the end tag.
    fs.AddFile("C:\\Program\\SUPPORT.INF",
               "[=製品名=]Orvano\x01２１\x81\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]21.00\x1B.03\x9F\r\n");
    ASSERT_OK(Write(FormGeneration::k16));
    EXPECT_EQ("\t\t<PROGRAMNAME>Orvano２１</PROGRAMNAME>\r\n"
              "\t\t<PROGRAMVER>21.00.03</PROGRAMVER>\r\n",
              Between("<PROGRAMNAME>", "<PROGRAMVER>"));
    EXPECT_EQ("", reporttest::XmllintErrors(Report()));
}

// The last guard: a document that does not read back sound never replaces the target, and
// nothing of it remains.
TEST_F(ReportWriterTest, AReportThatDoesNotReadBackSoundIsAWriteFailure) {
    fs.AddFile(kTarget, "the report of last year");
    const auto before = fs.Tree();
    // Tags that no reader gives: not element names.
    for (const char* tag : {"1URIAGEDAKA", ".A", "A B", "A></A><B"}) {
        lines.clear();
        AddLine(lines, 1, "URIAGEDAKA", {10000});
        AddLine(lines, 2, tag, {20000});
        const platform::Status refused = Write(FormGeneration::k16);
        EXPECT_EQ(platform::Cause::kBadFile, refused.cause()) << tag << ": " << LogLine(refused);
        EXPECT_EQ("read-back", std::string(refused.step())) << tag;
        EXPECT_EQ(0u, refused.place().rfind("offset ", 0)) << tag << ": " << refused.place();
        EXPECT_EQ(before, fs.Tree()) << tag;
    }
}

TEST_F(ReportWriterTest, AFailureAtAnyWriteLeavesTheTargetAsItWas) {
    AddLine(lines, 1, "URIAGEDAKA", {10000});
    AddLine(lines, 35, "TOUKIRIEKI", {20000});
    AddLine(lines, 36, "URIAGE", {0, 30000});
    fs.AddFile(kTarget, "the report of last year");
    const auto before = fs.Tree();

    fs.ClearFaults();
    ASSERT_OK(Write(FormGeneration::k16));
    const int operations = fs.CountedOperations();
    ASSERT_GT(operations, 40);
    const std::string good = Report();

    for (int n = 1; n <= operations; ++n) {
        fs.AddFile(kTarget, "the report of last year");
        fs.FailNth(n);
        progress.calls.clear();
        // Whichever operation fails, the cause is the disk's error.
        const platform::Status failed = Write(FormGeneration::k16);
        EXPECT_EQ(platform::Cause::kIo, failed.cause()) << "failing operation " << n;
        EXPECT_EQ(MemoryFileSystem::kErrorDiskFull, failed.code()) << "failing operation " << n;
        EXPECT_TRUE(fs.FaultFired()) << "failing operation " << n;
        EXPECT_EQ(before, fs.Tree()) << "failing operation " << n;
    }
    // A disk that stays full from the first write on.
    fs.FailNth(2, MemoryFileSystem::kDefaultFaults, true);
    EXPECT_EQ(0u,
              LogLine(Write(FormGeneration::k16)).rfind("io step=write-xml error=112 file=", 0));
    EXPECT_EQ(before, fs.Tree());

    fs.ClearFaults();
    ASSERT_OK(Write(FormGeneration::k16));
    EXPECT_EQ(good, Report());
}

TEST_F(ReportWriterTest, EveryFaultCountingRemovalsLeavesNothingUnsaid) {
    AddLine(lines, 1, "URIAGEDAKA", {10000});
    AddLine(lines, 35, "TOUKIRIEKI", {20000});
    AddLine(lines, 36, "URIAGE", {0, 30000});
    testsupport::CheckEveryFault(
        [](MemoryFileSystem& files) {
            files.AddStandardMachine();
            files.AddFile(kTarget, "the report of last year");
            files.AddFile("C:\\出力\\表\\~report.xml", "the user's own file");
        },
        [this](MemoryFileSystem& files) {
            const ReportServices local{files, desktop, text, strings, memory};
            ClReportWriter writer(progress, lines, FormGeneration::k16,
                                  kEditionIvy.defaultProductName, local);
            return writer.WriteReport(kTarget, 2, 4, DataRecord("A", 20170401, 20180331)).ok();
        },
        "report");
}

// A removal that fails once is tried again; one that fails twice is named in the debug output.
TEST_F(ReportWriterTest, ACleanUpThatFailsIsTriedAgainAndThenReported) {
    // A folder where the report must go: the temporary file cannot replace it.
    fs.AddFolder(kTarget);
    const auto before = fs.Tree();
    fs.FailNth(1, MemoryFileSystem::kRemove);
    const platform::Status refused = Write(FormGeneration::k16);
    EXPECT_EQ("replace-file", std::string(refused.step())) << LogLine(refused);
    EXPECT_EQ(MemoryFileSystem::kErrorAccessDenied, refused.code()) << LogLine(refused);
    EXPECT_EQ(kTarget, refused.file());
    EXPECT_TRUE(fs.FaultFired());
    EXPECT_EQ(before, fs.Tree());
    EXPECT_TRUE(fs.DebugLines().empty());

    fs.FailNth(1, MemoryFileSystem::kRemove, false, 2);
    EXPECT_EQ(platform::Cause::kIo, Write(FormGeneration::k16).cause());
    ASSERT_EQ(1u, fs.DebugLines().size());
    const auto left = fs.UnreportedChanges(before);
    EXPECT_TRUE(left.empty()) << left.front();
    EXPECT_NE(before, fs.Tree());
    EXPECT_NE(std::string::npos, fs.DebugLines()[0].find("C:\\出力\\表\\~ovw4242_"))
        << fs.DebugLines()[0];
}

TEST_F(ReportWriterTest, AUsersFilesBesideTheTargetAreNeverTouched) {
    // Names a temporary file of the past used: "~NAME" beside the target.
    fs.AddFile("C:\\出力\\表\\~report.xml", "the user's own file");
    const auto before = fs.Tree();
    ASSERT_OK(Write(FormGeneration::k16));
    EXPECT_EQ("the user's own file", fs.FileBytes("C:\\出力\\表\\~report.xml"));
    auto after = fs.Tree();
    after.erase(kTarget);
    EXPECT_EQ(before, after);
}

TEST_F(ReportWriterTest, ATargetThatCannotBeCreatedIsAFailureWithNothingLeft) {
    const auto before = fs.Tree();
    ClReportWriter writer(progress, lines, FormGeneration::k16, kEditionIvy.defaultProductName,
                          services);
    EXPECT_EQ(0u,
              LogLine(writer.WriteReport("C:\\Missing\\report.xml", 2, 4,
                                         DataRecord("A", 20170401, 20180331)))
                  .rfind("io step=create-temporary error=3 file=C:\\\\Missing\\\\~ovw4242_", 0));
    EXPECT_EQ("range-refused step=output-path-length value=0",
              LogLine(writer.WriteReport("", 2, 4, DataRecord("A", 20170401, 20180331))));
    EXPECT_EQ(before, fs.Tree());
    // The section that failed stops the progress where it was.
    EXPECT_EQ(std::vector<std::string>({"T", "T"}), progress.calls);
}

TEST_F(ReportWriterTest, TheTemporaryFileLiesBesideTargetsOfEveryForm) {
    for (const char* target :
         {"C:report.xml", "report.xml", "C:\\出力/表\\report.xml", "C:\\出力\\表\\~report.xml"}) {
        const auto before = fs.Tree();
        const bool existed = fs.HasFile(target);
        ClReportWriter writer(progress, lines, FormGeneration::k16, kEditionIvy.defaultProductName,
                              services);
        ASSERT_OK(writer.WriteReport(target, 2, 4, DataRecord("A", 20170401, 20180331))) << target;
        EXPECT_EQ(0u, fs.FileBytes(target).find("<?xml")) << target;
        // Nothing new but the report itself.
        std::vector<std::string> added;
        for (const auto& entry : fs.Tree())
            if (before.count(entry.first) == 0)
                added.push_back(entry.first);
        EXPECT_EQ(existed ? 0u : 1u, added.size())
            << target << ": " << (added.empty() ? std::string() : added.back());
    }
    EXPECT_TRUE(fs.HasFile("C:\\Program\\report.xml"));
}
