// The readers of the form-item and default-mapping files, from bytes in memory.
#include "settings/statement_files.h"

#include "support/memory_filesystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

// A data file: some text before the section, the section, and another section after it.
std::string File(const std::string& body, const std::string& headerEnd = "\r\n") {
    return "事業概況書 データ\r\n[共通様式]" + headerEnd + body +
           "[終了]\r\n[他の様式]\r\n9/1/0/他/TA;\r\n[終了]\r\n";
}

StatementLines Load(const std::string& bytes) {
    StatementLines lines;
    EXPECT_TRUE(loadStatementLines(bytes, lines)) << bytes;
    return lines;
}

std::vector<std::string> Tags(const StatementLines& lines) {
    std::vector<std::string> tags;
    for (const auto& line : lines)
        tags.push_back(line->tag);
    return tags;
}

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

// Default mappings read with a lookup that knows the accounts of a table (codes as the host
// holds them) and records the codes it was asked for.
struct Mappings {
    std::map<std::int32_t, std::string> accounts{{11100000, "KEY-1110"}, {41100003, "KEY-4110-3"}};
    std::vector<std::int32_t> asked;
    MappingEntries entries;

    bool Load(const std::string& bytes) {
        return loadDefaultMappings(bytes, entries, [this](std::int32_t code, std::string& key) {
            asked.push_back(code);
            const std::int32_t scaled = code < 10000 ? code * 10000 : code;
            auto found = accounts.find(scaled);
            if (found == accounts.end())
                return false;
            key = found->second;
            return true;
        });
    }
    std::vector<std::pair<int, std::string>> List() const {
        std::vector<std::pair<int, std::string>> list;
        for (const auto& entry : entries)
            list.emplace_back(entry->lineNo, entry->key);
        return list;
    }
};

} // namespace

TEST(FormItemFile, ReadsFiveFieldsPerLine) {
    const StatementLines lines = Load(File("1/2/40888000/売上高/URIAGEDAKA;\r\n"
                                           "4/1/40888000+40884000/期首棚卸高/KISYU; comment/x;\r\n"
                                           "21/1/0/-/-;\r\n"));
    ASSERT_EQ(3u, lines.size());
    const StatementLine& first = *lines[0];
    EXPECT_EQ(1, first.lineNo);
    EXPECT_EQ(2, first.side);
    EXPECT_EQ(0x40888000u, first.kindCodes[0]);
    EXPECT_EQ(0u, first.kindCodes[1]);
    EXPECT_EQ("売上高", first.name);
    EXPECT_EQ("URIAGEDAKA", first.tag);
    for (std::int64_t amount : first.amounts)
        EXPECT_EQ(0, amount);

    const StatementLine& joined = *lines[1];
    EXPECT_EQ(4, joined.lineNo);
    EXPECT_EQ(1, joined.side);
    EXPECT_THAT(joined.kindCodes,
                ElementsAre(0x40888000u, 0x40884000u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u));
    EXPECT_EQ("KISYU", joined.tag);
    EXPECT_EQ("-", lines[2]->name);
    EXPECT_EQ("-", lines[2]->tag);
}

TEST(FormItemFile, LineEndsAndBlankLines) {
    // Header followed by a bare LF, LF line ends, the last line ending directly at "[終了]".
    EXPECT_THAT(Tags(Load(File("1/1/0/a/A;\n2/1/0/b/B;", "\n"))), ElementsAre("A", "B"));
    // Blank lines (empty, spaces, a lone CR) are not statement lines.
    EXPECT_THAT(Tags(Load(File("\r\n1/1/0/a/A;\r\n  \r\n\r\r\n2/1/0/b/B;\r\n\r\n"))),
                ElementsAre("A", "B"));
    // Text after the header on its line is not a body line.
    EXPECT_THAT(Tags(Load(File("1/1/0/a/A;\r\n", " note\r\n"))), ElementsAre("A"));
    // An empty section gives no lines.
    EXPECT_TRUE(Load(File("")).empty());
    EXPECT_TRUE(Load("[共通様式][終了]").empty());
}

TEST(FormItemFile, RejectsFilesWithoutACompleteSection) {
    StatementLines lines;
    lines.push_back(std::make_unique<StatementLine>());
    lines[0]->tag = "KEPT";
    for (const std::string& bytes : {std::string(), std::string("1/1/0/a/A;\r\n[終了]\r\n"),
                                     std::string("[共通様式]\r\n1/1/0/a/A;\r\n"),
                                     std::string("[終了]\r\n[共通様式]\r\n1/1/0/a/A;\r\n"),
                                     // The end marker lies behind a NUL byte, outside the text.
                                     std::string("[共通様式]\r\n1/1/0/a/A;\r\n\0[終了]\r\n", 27)}) {
        EXPECT_FALSE(loadStatementLines(bytes, lines)) << bytes;
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ("KEPT", lines[0]->tag);
    }
    // A complete section replaces the previous content.
    EXPECT_TRUE(loadStatementLines(File("5/1/0/e/E;\r\n"), lines));
    EXPECT_THAT(Tags(lines), ElementsAre("E"));
}

TEST(FormItemFile, MarkersAreFoundOnCharacterBoundariesOnly) {
    // "ゼ" is 83 5B: its second byte followed by 終了] spells the end marker bytes.
    const StatementLines lines = Load(File("1/1/0/ゼ終了]/A;\r\n2/1/0/b/B;\r\n"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("ゼ終了]", lines[0]->name);
}

TEST(FormItemFile, SectionLimit) {
    // The section runs from its header to "[終了]": 32,767 bytes are read, 32,768 are not.
    const std::string head = "[共通様式]\r\n";
    const std::string line = "1/1/0/a/A;\r\n";
    const auto section = [&](std::size_t size) {
        return head + line + std::string(size - head.size() - line.size() - 2, ' ') + "\r\n" +
               "[終了]";
    };
    StatementLines lines;
    EXPECT_TRUE(loadStatementLines(section(32767), lines));
    EXPECT_EQ(1u, lines.size());
    EXPECT_FALSE(loadStatementLines(section(32768), lines));
    EXPECT_FALSE(loadStatementLines(section(32769), lines));
}

TEST(FormItemFile, LineLimitCutsAt255Bytes) {
    // A line is read up to its 255th byte: a long comment after the ';' does no harm.
    const std::string commented = "1/1/0/a/A;" + std::string(245, 'x');
    EXPECT_THAT(Tags(Load(File(commented + "\r\n" + commented + "yyyy\r\n"))),
                ElementsAre("A", "A"));
    // A ';' that is the 255th byte is read; one that is the 256th is lost, and the line with
    // it: the file cannot be taken.
    const std::string tagAtLimit = "1/1/0/" + std::string(197, 'n') + "/" + std::string(50, 'T');
    ASSERT_EQ(254u, tagAtLimit.size());
    const StatementLines lines = Load(File(tagAtLimit + ";\r\n"));
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(std::string(30, 'n'), lines[0]->name);
    EXPECT_EQ(std::string(50, 'T'), lines[0]->tag);
    StatementLines untouched;
    EXPECT_FALSE(loadStatementLines(File(tagAtLimit + ";\r\n2" + tagAtLimit + ";\r\n"), untouched));
    EXPECT_TRUE(untouched.empty());
}

TEST(FormItemFile, FieldLimits) {
    const StatementLines lines = Load(File(
        // 10 account classes are read.
        "1/1/1+2+3+4+5+6+7+8+9+a/n/TEN;\r\n"
        // Classes up to 32 bits, written with or without 0x.
        "3/1/FFFFFFFF+0x40200080/n/WIDE;\r\n"
        // Line numbers and sides are 16-bit.
        "32767/-32768/0/n/EDGE;\r\n"
        // Tags: 50 bytes are read; a name may start with '_'; a placeholder holds a '-'
        // anywhere.
        "6/1/0/n/" +
        std::string(50, 'T') +
        ";\r\n"
        "7/1/0/n/_X.1;\r\n"
        "8/1/0/-/-;\r\n"
        "9/1/0/-/1-X;\r\n"));
    EXPECT_THAT(Tags(lines),
                ElementsAre("TEN", "WIDE", "EDGE", std::string(50, 'T'), "_X.1", "-", "1-X"));
    EXPECT_THAT(lines[0]->kindCodes, ElementsAre(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u));
    EXPECT_EQ(0xFFFFFFFFu, lines[1]->kindCodes[0]);
    EXPECT_EQ(0x40200080u, lines[1]->kindCodes[1]);
    EXPECT_EQ(32767, lines[2]->lineNo);
    EXPECT_EQ(-32768, lines[2]->side);
}

// A body line that is not a statement line would leave its amount out of the report without a
// word: the file is not taken, and the lines read before stay as they were.
TEST(FormItemFile, ALineThatCannotBeTakenRejectsTheFile) {
    for (const std::string& bad : {
             // 11 account classes, a class beyond 32 bits.
             std::string("2/1/1+2+3+4+5+6+7+8+9+a+b/n/ELEVEN;"),
             std::string("4/1/100000000/n/TOOWIDE;"),
             // Line numbers and sides beyond 16 bits.
             std::string("32768/1/0/n/BIGLINE;"),
             std::string("5/40000/0/n/BIGSIDE;"),
             // Tags longer than 50 bytes, empty, or no element name.
             "7/1/0/n/" + std::string(51, 'T') + ";",
             std::string("8/1/0/n/;"),
             std::string("9/1/0/n/A B;"),
             std::string("10/1/0/n/A<B;"),
             std::string("11/1/0/n/売上;"),
             std::string("12/1/0/n/1URIAGEDAKA;"),
             std::string("13/1/0/n/.URIAGEDAKA;"),
             // One more field, as a later format might add.
             std::string("14/1/0/n/URIAGEDAKA/1;"),
             // Missing fields or ';'.
             std::string("15/1/0/n;"),
             std::string("16/1/0/n/NOEND"),
             std::string("garbage"),
         }) {
        StatementLines lines;
        lines.push_back(std::make_unique<StatementLine>());
        lines[0]->tag = "KEPT";
        EXPECT_FALSE(loadStatementLines(File("1/1/0/a/A;\r\n" + bad + "\r\n2/1/0/b/B;\r\n"), lines))
            << bad;
        EXPECT_THAT(Tags(lines), ElementsAre("KEPT")) << bad;
    }
}

TEST(FormItemFile, NumbersAreReadAsAtoiAndStrtoulReadThem) {
    const StatementLines lines = Load(File(" 12abc/ 2x/ 4088z+/n/A;\r\n/-/+/n/B;\r\n"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(12, lines[0]->lineNo);
    EXPECT_EQ(2, lines[0]->side);
    EXPECT_THAT(lines[0]->kindCodes, ElementsAre(0x4088u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u));
    EXPECT_EQ(0, lines[1]->lineNo);
    EXPECT_EQ(0, lines[1]->side);
}

TEST(FormItemFile, NamesAreCutTo30BytesOnCharacterBoundaries) {
    const std::string kanji15 = Repeat("売", 15);                             // 30 bytes
    const StatementLines lines = Load(File("1/1/0/" + kanji15 + "/A;\r\n" +   // kept
                                           "2/1/0/" + kanji15 + "x/B;\r\n" +  // 31: cut to 30
                                           "3/1/0/x" + kanji15 + "/C;\r\n")); // cut to 29
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(kanji15, lines[0]->name);
    EXPECT_EQ(kanji15, lines[1]->name);
    EXPECT_EQ("x" + Repeat("売", 14), lines[2]->name);
}

TEST(FormItemFile, ReadsThroughTheFileSystem) {
    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    files.AddFile("C:\\Program\\IvyOvw21ToRv30_G_GaiKmk.dat", File("1/2/0/a/A;\r\n"));
    StatementLines lines;
    // The current folder is the program's: a missing file gives the system's "file not found".
    EXPECT_EQ("io step=form-items error=2 file=IvyOvw21ToRv16_G_GaiKmk.dat",
              platform::LogLine(
                  loadStatementLines(files, FormItemFileName("Ivy", FormGeneration::k16), lines)));
    EXPECT_TRUE(
        loadStatementLines(files, FormItemFileName("Ivy", FormGeneration::k30), lines).ok());
    EXPECT_THAT(Tags(lines), ElementsAre("A"));
    files.AddFile("C:\\Program\\broken.dat", "no section");
    EXPECT_EQ("bad-file step=form-items file=broken.dat",
              platform::LogLine(loadStatementLines(files, "broken.dat", lines)));
    EXPECT_THAT(Tags(lines), ElementsAre("A")) << "lines untouched";
}

TEST(DataFileNames, PerEditionAndGeneration) {
    EXPECT_EQ("IvyOvw21ToRv16_G_GaiKmk.dat", FormItemFileName("Ivy", FormGeneration::k16));
    EXPECT_EQ("IvyOvw21ToRv16_G_DefKmk.dat", DefaultMappingFileName("Ivy", FormGeneration::k16));
    EXPECT_EQ("OakOvw21ToRv30_G_GaiKmk.dat", FormItemFileName("Oak", FormGeneration::k30));
    EXPECT_EQ("ElmOvw21ToRv30_G_DefKmk.dat", DefaultMappingFileName("Elm", FormGeneration::k30));
}

TEST(DefaultMappingFile, AccountCodesAndLiteralKeys) {
    Mappings m;
    ASSERT_TRUE(m.Load(File("12/1110,URIAGEDAKA,\r\n"
                            "5/41100003,9999,0x000fa0ff000000000000000000000000,\r\n")));
    EXPECT_THAT(m.List(),
                ElementsAre(Pair(12, "KEY-1110"), Pair(12, "URIAGEDAKA"), Pair(5, "KEY-4110-3"),
                            Pair(5, "0x000fa0ff000000000000000000000000")));
    // The unknown account 9999 was asked for and dropped; the line's other references count.
    EXPECT_THAT(m.asked, ElementsAre(1110, 41100003, 9999));
}

TEST(DefaultMappingFile, ReferencesNeedTheirComma) {
    Mappings m;
    ASSERT_TRUE(m.Load(File("1/SISAN,FUSAI\r\n2/SIHON,\r\n3/\r\n4\r\n5/,,  ,\r\n")));
    // FUSAI lacks its ','; a line without '/' has no references; empty references are dropped
    // and a reference of spaces is a literal key.
    EXPECT_THAT(m.List(), ElementsAre(Pair(1, "SISAN"), Pair(2, "SIHON"), Pair(5, "  ")));
}

TEST(DefaultMappingFile, Limits) {
    Mappings m;
    const std::string key34(34, 'K');
    ASSERT_TRUE(m.Load(File("1/" + key34 + "," + key34 +
                            "X,\r\n"
                            // Codes beyond 32 bits are no account.
                            "2/99999999999,-1110,URIAGEDAKA,\r\n"
                            // Line numbers are 16-bit.
                            "40000/SISAN,\r\n-32768/FUSAI,\r\n")));
    EXPECT_THAT(m.List(),
                ElementsAre(Pair(1, key34), Pair(2, "URIAGEDAKA"), Pair(-32768, "FUSAI")));
    EXPECT_THAT(m.asked, ElementsAre(-1110));

    // A line is read up to its 255th byte: the reference whose ',' is byte 256 is lost.
    Mappings cut;
    const std::string head = "7/" + std::string(240, 'x') + ",";
    ASSERT_EQ(243u, head.size());
    ASSERT_TRUE(cut.Load(File(head + "SISAN,FUSAI,SIHON,\r\n")));
    // 243 + "SISAN," = 249, + "FUSAI," = 255, "SIHON," would end at 261.
    EXPECT_THAT(cut.List(), ElementsAre(Pair(7, "SISAN"), Pair(7, "FUSAI")));
}

TEST(DefaultMappingFile, ReplacesEntriesOnlyWhenTheFileIsComplete) {
    Mappings m;
    ASSERT_TRUE(m.Load(File("1/SISAN,\r\n")));
    EXPECT_FALSE(m.Load("[共通様式]\r\n2/FUSAI,\r\n"));
    EXPECT_THAT(m.List(), ElementsAre(Pair(1, "SISAN")));
    ASSERT_TRUE(m.Load(File("2/FUSAI,")));
    EXPECT_THAT(m.List(), ElementsAre(Pair(2, "FUSAI")));

    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    MappingEntries entries;
    EXPECT_EQ("io step=default-mappings error=2 file=missing.dat",
              platform::LogLine(loadDefaultMappings(
                  files, "missing.dat", entries, [](std::int32_t, std::string&) { return true; })));
}
