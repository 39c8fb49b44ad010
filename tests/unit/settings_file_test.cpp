// The per-company settings file: its name, its exact bytes, the reader's rules, saving that
// never leaves a partial file, and the texts of the mapped accounts.
#include "settings/settings_file.h"

#include "aggregate/account_key.h"
#include "support/fake_host.h"
#include "support/fault_loops.h"
#include "support/host_accounts.h"
#include "support/memory_filesystem.h"
#include "ui/mapping_logic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

using mapping::AccountNameLookup;
using mapping::describeMappedAccounts;
using mapping::kDescriptionSize;
using testsupport::MemoryFileSystem;

namespace {

const std::string kFolder = "C:\\Host\\Settings\\";
const std::string kFile = kFolder + "RV16_G_yamada_1_2.env";
const std::string kKey34 = "0x00112233445566778899aabbccddeeff";

void Add(MappingEntries& list, int lineNo, const std::string& key) {
    auto entry = std::make_unique<MappingEntry>();
    entry->lineNo = static_cast<std::int16_t>(lineNo);
    entry->key = key;
    list.push_back(std::move(entry));
}

// "line/key" per entry, separated by blanks.
std::string Entries(const MappingEntries& list) {
    std::string text;
    for (const auto& entry : list)
        text += (text.empty() ? "" : " ") + std::to_string(entry->lineNo) + "/" + entry->key;
    return text;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.AddStandardMachine();
        fs.AddFolder(kFolder);
        conditions.userId = "yamada";
        conditions.selectionNo1 = 1;
        conditions.selectionNo2 = 2;
        conditions.mappings = &mappings;
    }

    bool Load() { return loadSettings(fs, kFolder, conditions); }
    bool Save() { return saveSettings(fs, kFolder, conditions).ok(); }

    MemoryFileSystem fs;
    MappingEntries mappings;
    AggregationConditions conditions;
};

} // namespace

TEST(SettingsFileName, NamesGenerationUserAndCompanyData) {
    AggregationConditions conditions;
    conditions.userId = "yamada";
    conditions.selectionNo1 = 1;
    conditions.selectionNo2 = 23;
    EXPECT_EQ("RV16_G_yamada_1_23.env", SettingsFileName(conditions));
    conditions.form = FormGeneration::k30;
    EXPECT_EQ("RV30_G_yamada_1_23.env", SettingsFileName(conditions));
    conditions.selectionNo1 = -4;
    conditions.userId = "山田ソ"; // ソ ends in 0x5C: no separator
    EXPECT_EQ("RV30_G_山田ソ_-4_23.env", SettingsFileName(conditions));
    conditions.userId = std::string(64, 'u');
    EXPECT_EQ("RV30_G_" + std::string(64, 'u') + "_-4_23.env", SettingsFileName(conditions));
}

TEST(SettingsFileName, RefusesUserIdsThatLeaveTheFolderOrBreakTheName) {
    AggregationConditions conditions;
    for (const std::string& id : std::vector<std::string>{"..\\evil",
                                                          "a\\b",
                                                          "a/b",
                                                          "c:",
                                                          "x*",
                                                          "x?",
                                                          "x\"",
                                                          "x<",
                                                          "x>",
                                                          "x|",
                                                          "..",
                                                          "a..b",
                                                          std::string("x\ny"),
                                                          std::string("x\ty"),
                                                          std::string("x\0y", 3),
                                                          std::string(65, 'u'),
                                                          "\xE0/x",
                                                          "\x88\x0A",
                                                          "\x82\x5C\x82:",
                                                          "ab\x82"}) {
        conditions.userId = id;
        EXPECT_EQ("", SettingsFileName(conditions)) << "user ID " << id;
    }
}

TEST_F(SettingsFileTest, ReadsThePartOneLine) {
    fs.AddFile(kFile, "[P1]\n3/1/0/C:\\out\\a.xml\n[終了]\n[P2/P3]\n[終了]\n");
    conditions.savedOutputPath = "stale";
    EXPECT_TRUE(Load());
    EXPECT_EQ(3, conditions.endMonth);
    EXPECT_EQ(1, conditions.taxIncluded);
    EXPECT_EQ(0, conditions.reserved);
    EXPECT_EQ("C:\\out\\a.xml", conditions.savedOutputPath);
    EXPECT_EQ("C:\\out\\a.xml", conditions.outputPath); // page 1 shows the saved path

    conditions.outputPath = "D:\\fixed.xml";
    EXPECT_TRUE(Load());
    EXPECT_EQ("D:\\fixed.xml", conditions.outputPath);
    EXPECT_EQ("C:\\out\\a.xml", conditions.savedOutputPath);
}

TEST_F(SettingsFileTest, PartOneFieldsFollowAtoiAndThePathMayHoldSlashes) {
    fs.AddFile(kFile, "[P1]\n 12x/abc/7/C:/out/a b.xml\n[終了]\n[P2/P3]\n[終了]\n");
    conditions.reserved = 5;
    EXPECT_TRUE(Load());
    EXPECT_EQ(12, conditions.endMonth);
    EXPECT_EQ(0, conditions.taxIncluded);
    EXPECT_EQ(0, conditions.reserved);
    EXPECT_EQ("C:/out/a b.xml", conditions.savedOutputPath);

    fs.AddFile(kFile, "[P1]\n99999/-99999\n[終了]\n[P2/P3]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ(INT16_MAX, conditions.endMonth); // held, not wrapped into a month
    EXPECT_EQ(INT16_MIN, conditions.taxIncluded);
    EXPECT_EQ("", conditions.savedOutputPath);
}

TEST_F(SettingsFileTest, WritesTheExactFormat) {
    conditions.endMonth = 3;
    conditions.taxIncluded = 1;
    conditions.outputPath = "C:\\out\\表.xml";
    Add(mappings, 5, kKey34);
    Add(mappings, 12, "URIAGEDAKA");
    Add(mappings, 5, "0xffeeddccbbaa99887766554433221100");
    ASSERT_TRUE(Save());
    EXPECT_EQ("[P1]\n3/1/0/C:\\out\\表.xml\n[終了]\n[P2/P3]\n5/" + kKey34 +
                  "[END]\n12/URIAGEDAKA[END]\n5/0xffeeddccbbaa99887766554433221100[END]\n[終了]\n",
              fs.FileBytes(kFile));
    EXPECT_EQ(std::string("\x5B\x8F\x49\x97\xB9\x5D"), std::string("[終了]")); // Shift_JIS
}

TEST_F(SettingsFileTest, HostFixedPathNeverReplacesTheSavedOne) {
    conditions.endMonth = 4;
    conditions.outputPathFixed = 1;
    conditions.outputPath = "D:\\host\\fixed.xml";
    ASSERT_TRUE(Save()); // a first run with a fixed path writes an empty path field
    EXPECT_EQ("[P1]\n4/0/0/\n[終了]\n[P2/P3]\n[終了]\n", fs.FileBytes(kFile));

    conditions.savedOutputPath = "C:\\mine\\a.xml";
    ASSERT_TRUE(Save());
    EXPECT_EQ("[P1]\n4/0/0/C:\\mine\\a.xml\n[終了]\n[P2/P3]\n[終了]\n", fs.FileBytes(kFile));
}

TEST_F(SettingsFileTest, EmptyMappingListReadsBackEmpty) {
    Add(mappings, 1, "stale");
    ASSERT_TRUE(Save());
    mappings.clear();
    ASSERT_TRUE(Save());
    EXPECT_EQ("[P1]\n0/0/0/\n[終了]\n[P2/P3]\n[終了]\n", fs.FileBytes(kFile));
    Add(mappings, 1, "stale");
    EXPECT_TRUE(Load());
    EXPECT_EQ("", Entries(mappings));
}

TEST_F(SettingsFileTest, MissingMappingPartKeepsPartOneButFails) {
    fs.AddFile(kFile, "[P1]\n3/1/0/C:\\out\\a.xml\n[終了]\n");
    Add(mappings, 9, "kept");
    EXPECT_FALSE(Load());
    EXPECT_EQ(3, conditions.endMonth);
    EXPECT_EQ("C:\\out\\a.xml", conditions.savedOutputPath);
    EXPECT_EQ("9/kept", Entries(mappings)); // the caller resets them to the defaults

    fs.AddFile(kFile, "[P1]\n3/1/0/C:\\out\\a.xml\n[終了]\n[P2/P3]\n1/a[END]\n");
    EXPECT_FALSE(Load()); // no end of the mapping part
    EXPECT_EQ("9/kept", Entries(mappings));
}

TEST_F(SettingsFileTest, MissingPartOneChangesNothing) {
    conditions.endMonth = 7;
    conditions.outputPath = "C:\\before.xml";
    Add(mappings, 9, "kept");
    for (const std::string& text :
         std::vector<std::string>{"", "garbage", "3/1/0/C:\\a.xml\n[終了]\n[P2/P3]\n[終了]\n",
                                  "[P1]\n3/1/0/C:\\a.xml\n[P2/P3]\n1/a[END]\n"}) {
        fs.AddFile(kFile, text);
        EXPECT_FALSE(Load()) << text;
        EXPECT_EQ(7, conditions.endMonth) << text;
        EXPECT_EQ("C:\\before.xml", conditions.outputPath) << text;
        EXPECT_EQ("9/kept", Entries(mappings)) << text;
    }
}

TEST_F(SettingsFileTest, MissingFileOrFolderFailsAndClearsTheSavedPath) {
    conditions.savedOutputPath = "C:\\old.xml";
    EXPECT_FALSE(Load());
    EXPECT_EQ("", conditions.savedOutputPath);
    EXPECT_FALSE(loadSettings(fs, "", conditions));
    fs.AddFolder(kFile); // a folder where the file should be
    EXPECT_FALSE(Load());
}

TEST_F(SettingsFileTest, EntryWithoutEndMarkerEndsTheListInsideItsSection) {
    fs.AddFile(kFile, "[P1]\n1/0/0/\n[終了]\n[P2/P3]\n1/a[END]\n2/b\n3/c[END]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("1/a", Entries(mappings));

    // "[END]" after the section's end is not looked for.
    fs.AddFile(kFile, "[P1]\n1/0/0/\n[終了]\n[P2/P3]\n1/a[END]\n2/b\n[終了]\n4/d[END]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("1/a", Entries(mappings));

    fs.AddFile(kFile, "[P1]\n1/0/0/\n[終了]\n[P2/P3]\n1/a[END]\nno slash\n2/b[END]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("1/a", Entries(mappings));
}

TEST_F(SettingsFileTest, KeysLongerThan34CharactersAreSkipped) {
    const std::string key35 = kKey34 + "0";
    fs.AddFile(kFile, "[P1]\n1/0/0/\n[終了]\n[P2/P3]\n1/" + kKey34 + "[END]\n2/" + key35 +
                          "[END]\n3/" + kKey34 + "[END]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("1/" + kKey34 + " 3/" + kKey34, Entries(mappings));

    // The writer leaves out what no reader could give back.
    mappings.clear();
    Add(mappings, 1, key35);
    Add(mappings, 2, "a[END]b");
    Add(mappings, 3, "line\nend");
    Add(mappings, 4, "x[終了]");
    Add(mappings, 5, kKey34);
    ASSERT_TRUE(Save());
    EXPECT_EQ("[P1]\n1/0/0/\n[終了]\n[P2/P3]\n5/" + kKey34 + "[END]\n[終了]\n",
              fs.FileBytes(kFile));
}

TEST_F(SettingsFileTest, CrLfLineEndsAreTolerated) {
    fs.AddFile(kFile, "[P1]\r\n3/1/0/C:\\out\\a.xml\r\n[終了]\r\n[P2/P3]\r\n5/" + kKey34 +
                          "[END]\r\n12/URIAGEDAKA[END]\r\n[終了]\r\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("C:\\out\\a.xml", conditions.savedOutputPath);
    EXPECT_EQ("5/" + kKey34 + " 12/URIAGEDAKA", Entries(mappings));
}

TEST_F(SettingsFileTest, MarkersAreNotFoundInsideDoubleByteCharacters) {
    // ゼ is 83 5B: its second byte is '[' and must not start "[END]" or "[終了]".
    fs.AddFile(kFile, "[P1]\n1/0/0/C:\\ゼEND]\\a.xml\n[終了]\n[P2/P3]\n1/ゼEND]x[END]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("C:\\ゼEND]\\a.xml", conditions.savedOutputPath);
    EXPECT_EQ("1/ゼEND]x", Entries(mappings));
}

TEST_F(SettingsFileTest, OverlongSavedPathIsNotTaken) {
    const std::string path260 = "C:\\" + std::string(257, 'p');
    fs.AddFile(kFile, "[P1]\n1/0/0/" + path260 + "\n[終了]\n[P2/P3]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ(path260, conditions.savedOutputPath);
    conditions.outputPath.clear();
    fs.AddFile(kFile, "[P1]\n1/0/0/" + path260 + "q\n[終了]\n[P2/P3]\n[終了]\n");
    EXPECT_TRUE(Load());
    EXPECT_EQ("", conditions.savedOutputPath);
    EXPECT_EQ("", conditions.outputPath);
}

TEST_F(SettingsFileTest, GenerationsKeepSeparateFiles) {
    conditions.endMonth = 3;
    Add(mappings, 1, "URIAGEDAKA");
    ASSERT_TRUE(Save());
    conditions.form = FormGeneration::k30;
    conditions.endMonth = 0;
    EXPECT_FALSE(Load()); // the newer form starts from defaults
    EXPECT_EQ(0, conditions.endMonth);
    conditions.endMonth = 9;
    ASSERT_TRUE(Save());
    EXPECT_TRUE(fs.HasFile(kFolder + "RV16_G_yamada_1_2.env"));
    EXPECT_TRUE(fs.HasFile(kFolder + "RV30_G_yamada_1_2.env"));
    conditions.form = FormGeneration::k16;
    EXPECT_TRUE(Load());
    EXPECT_EQ(3, conditions.endMonth);
}

TEST_F(SettingsFileTest, AnyWrittenListReadsBackTheSame) {
    // Keys drawn from bytes that matter to the reader: slashes, brackets, letters of "[END]",
    // double-byte characters with '[' ']' '\' second bytes, blanks and digits.
    const std::vector<std::string> pieces = {"0",  "x",  "/",  "[",  "]", "E", "N", "D",    "ゼ",
                                             "ゾ", "表", "終", "了", " ", "9", "-", "[END", "END]"};
    std::mt19937 random(20261207);
    for (int round = 0; round < 300; ++round) {
        mappings.clear();
        const int count = static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) {
            std::string key;
            while (key.size() < 40 && random() % 6 != 0)
                key += pieces[random() % pieces.size()];
            if (key.size() <= 34 && key.find("[END]") == std::string::npos &&
                key.find("[終了]") == std::string::npos)
                Add(mappings, static_cast<std::int16_t>(random()), key);
        }
        Add(mappings, 36, kKey34);
        conditions.endMonth = static_cast<std::int16_t>(random() % 13);
        conditions.taxIncluded = static_cast<std::int16_t>(random() % 2);
        conditions.outputPath = "C:\\出力/ゼ[END]\\a" + std::to_string(round) + ".xml";
        const std::string written = Entries(mappings);
        ASSERT_TRUE(Save());

        AggregationConditions read;
        MappingEntries readMappings;
        read.userId = conditions.userId;
        read.selectionNo1 = 1;
        read.selectionNo2 = 2;
        read.mappings = &readMappings;
        ASSERT_TRUE(loadSettings(fs, kFolder, read)) << fs.FileBytes(kFile);
        EXPECT_EQ(written, Entries(readMappings)) << fs.FileBytes(kFile);
        EXPECT_EQ(conditions.endMonth, read.endMonth);
        EXPECT_EQ(conditions.taxIncluded, read.taxIncluded);
        EXPECT_EQ(conditions.outputPath, read.savedOutputPath);
    }
}

TEST_F(SettingsFileTest, UnusableUserIdNeitherReadsNorWrites) {
    fs.AddFile("C:\\Host\\evil_1_2.env", "[P1]\n3/1/0/C:\\x.xml\n[終了]\n[P2/P3]\n[終了]\n");
    fs.AddFile(kFolder + "RV16_G_..", "x");
    const auto before = fs.Tree();
    conditions.userId = "..\\..\\evil";
    EXPECT_FALSE(Load());
    EXPECT_EQ(0, conditions.endMonth);
    EXPECT_FALSE(Save());
    conditions.userId = "a/b";
    EXPECT_FALSE(Save());
    EXPECT_EQ(before, fs.Tree());
    EXPECT_TRUE(fs.CreatedLog().empty());
}

TEST_F(SettingsFileTest, SavingCreatesAMissingFolderChain) {
    const std::string folder = "C:\\Host\\New\\Deeper\\";
    ASSERT_TRUE(saveSettings(fs, folder, conditions).ok());
    EXPECT_TRUE(fs.HasFile(folder + "RV16_G_yamada_1_2.env"));
    ASSERT_EQ(4u, fs.CreatedLog().size());
    EXPECT_EQ("C:\\Host\\New\\", fs.CreatedLog()[0]);
    EXPECT_EQ("C:\\Host\\New\\Deeper\\", fs.CreatedLog()[1]);
    // The temporary file: a name of this process, beside the file.
    EXPECT_EQ(0u, fs.CreatedLog()[2].find(folder + "~ovw4242_")) << fs.CreatedLog()[2];
    EXPECT_EQ(folder + "RV16_G_yamada_1_2.env", fs.CreatedLog()[3]);
}

// Every write path of the settings file, removals counted: into its folder over an old file,
// and into a missing folder chain, which a failure rolls back (and whose roll-back may fail).
TEST_F(SettingsFileTest, EveryFaultCountingRemovalsLeavesNothingUnsaid) {
    for (int i = 0; i < 5; ++i)
        Add(mappings, i, kKey34);
    const auto save = [this](const std::string& folder) {
        return [this, folder](MemoryFileSystem& files) {
            return saveSettings(files, folder, conditions).ok();
        };
    };
    testsupport::CheckEveryFault(
        [](MemoryFileSystem& files) {
            files.AddStandardMachine();
            files.AddFile(kFile, "[P1]\n2/0/0/\n[終了]\n[P2/P3]\n[終了]\n");
            files.AddFile(kFolder + "RV16_G_yamada_1_2.env.tmp", "the user's own file");
        },
        save(kFolder), "settings file");
    testsupport::CheckEveryFault([](MemoryFileSystem& files) { files.AddStandardMachine(); },
                                 save("C:\\Host\\New\\Deeper\\Deepest\\"),
                                 "settings file in a new folder chain");
}

// A failure after the folder chain was made leaves no empty folders behind.
TEST_F(SettingsFileTest, AFailureAfterTheFolderChainRemovesIt) {
    const auto before = fs.Tree();
    // The third creation is the temporary file; the first replacement puts it in place.
    for (const unsigned operation : {MemoryFileSystem::kCreate, MemoryFileSystem::kReplace}) {
        fs.FailNth(operation == MemoryFileSystem::kCreate ? 3 : 1, operation);
        EXPECT_FALSE(saveSettings(fs, "C:\\Host\\A\\B\\", conditions).ok());
        EXPECT_TRUE(fs.FaultFired());
        EXPECT_EQ(before, fs.Tree());
    }
}

TEST_F(SettingsFileTest, FailedFolderCreationSavesNothing) {
    const auto before = fs.Tree();
    EXPECT_FALSE(saveSettings(fs, "", conditions).ok());
    fs.FailCreationOf("C:\\Host\\New\\Deeper");
    EXPECT_FALSE(saveSettings(fs, "C:\\Host\\New\\Deeper\\", conditions).ok());
    EXPECT_EQ(before, fs.Tree()); // C:\Host\New\ removed again
    EXPECT_FALSE(saveSettings(fs, "Q:\\Settings\\", conditions).ok());
    EXPECT_FALSE(saveSettings(fs, "Settings\\", conditions).ok()); // no root: nothing created
    conditions.mappings = nullptr;
    EXPECT_FALSE(saveSettings(fs, kFolder, conditions).ok()); // would lose the user's mappings
    EXPECT_EQ(before, fs.Tree());
}

TEST_F(SettingsFileTest, EveryFailedWriteLeavesTheOldFileAsItWas) {
    const std::string old = "[P1]\n2/0/0/C:\\old.xml\n[終了]\n[P2/P3]\n1/old[END]\n[終了]\n";
    conditions.endMonth = 11;
    conditions.outputPath = "C:\\new.xml";
    for (int i = 0; i < 50; ++i)
        Add(mappings, i, kKey34);

    fs.AddFile(kFile, old);
    fs.ClearFaults();
    ASSERT_TRUE(Save());
    const int operations = fs.CountedOperations();
    EXPECT_GE(operations, 4); // open, write, close, replace
    const std::string complete = fs.FileBytes(kFile);

    for (const bool persistent : {false, true}) {
        for (int n = 1; n <= operations; ++n) {
            fs.AddFile(kFile, old);
            const auto before = fs.Tree();
            fs.FailNth(n, MemoryFileSystem::kDefaultFaults, persistent);
            EXPECT_FALSE(Save()) << "operation " << n << " failed";
            fs.ClearFaults();
            EXPECT_EQ(before, fs.Tree()) << "operation " << n << " failed";
        }
    }
    fs.AddFile(kFile, old);
    ASSERT_TRUE(Save());
    EXPECT_EQ(complete, fs.FileBytes(kFile));
}

TEST_F(SettingsFileTest, UnwritableFolderOrFileKeepsTheOldFile) {
    const std::string old = "[P1]\n2/0/0/\n[終了]\n[P2/P3]\n[終了]\n";
    fs.AddFile(kFile, old, true);
    auto before = fs.Tree();
    EXPECT_FALSE(Save());
    EXPECT_EQ(before, fs.Tree());

    fs.AddFile(kFile, old);
    fs.DenyWriteTo(kFolder);
    before = fs.Tree();
    EXPECT_FALSE(Save());
    EXPECT_EQ(before, fs.Tree());
}

TEST(ResetMappingsToDefaults, CopiesEveryDefaultInOrder) {
    MappingEntries mappings;
    AggregationConditions conditions;
    resetMappingsToDefaults(conditions); // no list to fill
    conditions.mappings = &mappings;
    Add(mappings, 99, "user");
    Add(conditions.defaultMappings, 1, kKey34);
    Add(conditions.defaultMappings, 12, "URIAGEDAKA");
    Add(conditions.defaultMappings, 1, "0xffffffffffffffffffffffffffffffff");
    resetMappingsToDefaults(conditions);
    EXPECT_EQ("1/" + kKey34 + " 12/URIAGEDAKA 1/0xffffffffffffffffffffffffffffffff",
              Entries(mappings));
    conditions.defaultMappings[0]->key = "changed";
    EXPECT_EQ(kKey34, mappings[0]->key); // copies, not shared entries
    conditions.defaultMappings.clear();
    resetMappingsToDefaults(conditions);
    EXPECT_EQ("", Entries(mappings));
}

TEST(DescribeMappedAccounts, JoinsTheNamesOfOneLine) {
    MappingEntries mappings;
    AggregationConditions conditions;
    conditions.mappings = &mappings;
    const std::map<std::string, std::string> names = {{"k1", "現金"}, {"k2", "当座預金"}};
    const AccountNameLookup lookup = [&names](const std::string& key, std::string& name) {
        const auto found = names.find(key);
        if (found == names.end())
            return false;
        name = found->second;
        return true;
    };
    EXPECT_EQ("集約されている科目はありません。", describeMappedAccounts(conditions, 5, lookup));
    Add(mappings, 5, "k1");
    Add(mappings, 6, "k2");
    Add(mappings, 5, "URIAGEDAKA"); // a source key names no account
    Add(mappings, 5, "k2");
    EXPECT_EQ("現金 / 当座預金", describeMappedAccounts(conditions, 5, lookup));
    EXPECT_EQ("当座預金", describeMappedAccounts(conditions, 6, lookup));
    EXPECT_EQ("集約されている科目はありません。", describeMappedAccounts(conditions, 7, lookup));
}

TEST(DescribeMappedAccounts, StopsAtTheFirstNameThatDoesNotFitWhole) {
    MappingEntries mappings;
    AggregationConditions conditions;
    conditions.mappings = &mappings;
    // 99 names of 98 bytes joined by " / " make 99 * 98 + 98 * 3 = 9996 bytes; a last name of
    // 0 bytes fits (9999 with its separator), one of 1 byte more does not.
    for (int i = 0; i < 100; ++i)
        Add(mappings, 1, std::to_string(i));
    const auto lookupWithLast = [](std::size_t lastLength) {
        return [lastLength](const std::string& key, std::string& name) {
            name = key == "99" ? std::string(lastLength, 'z') : std::string(98, 'n');
            return true;
        };
    };
    const std::string fits = describeMappedAccounts(conditions, 1, lookupWithLast(0));
    EXPECT_EQ(kDescriptionSize - 1, fits.size());
    const std::string stops = describeMappedAccounts(conditions, 1, lookupWithLast(1));
    EXPECT_EQ(9996u, stops.size());
    EXPECT_EQ(std::string(98, 'n'), stops.substr(stops.size() - 98));
    Add(mappings, 1, "short");
    EXPECT_EQ(9996u, describeMappedAccounts(conditions, 1, lookupWithLast(1)).size());
}

namespace {

// The stand-in host with a small book and a settings folder of its own.
// The host's side of the settings: its folder, and its account master for the tooltip texts.
class SettingsHostTest : public ::testing::Test {
  protected:
    SettingsHostTest() {
        host.settingsFolder = "C:\\Host\\settings_sub\\";
        host.accounts = {testsupport::FakeHost::Account(1, 11100000, "現金"),
                         testsupport::FakeHost::Account(2, 11200000, "当座預金"),
                         testsupport::FakeHost::Account(3, 11600000, "売掛金")};
        host.accounts[2].set_hideFlag1(1);
    }

    std::string KeyOf(std::int32_t number) { return testsupport::KeyOfCode(host, number); }
    const AccountCatalogue& Catalogue() {
        EXPECT_EQ("ok", platform::LogLine(catalogue.Read(host)));
        return catalogue;
    }

    testsupport::FakeHost host;
    AccountCatalogue catalogue;
};

} // namespace

TEST_F(SettingsHostTest, DescribesAccountsThroughTheHost) {
    MappingEntries mappings;
    AggregationConditions conditions;
    conditions.mappings = &mappings;
    Add(mappings, 3, KeyOf(1110));
    Add(mappings, 3, KeyOf(1160)); // hidden from key lookups
    Add(mappings, 3, KeyOf(1120));
    EXPECT_EQ("現金 / 当座預金",
              describeMappedAccounts(conditions, 3, mapping::CatalogueAccountNames(Catalogue())));

    host.hasAccounts = false;
    EXPECT_FALSE(catalogue.Read(host).ok());
    EXPECT_EQ("集約されている科目はありません。",
              describeMappedAccounts(conditions, 3, mapping::CatalogueAccountNames(catalogue)));
}

TEST_F(SettingsHostTest, SettingsFolderComesFromTheHost) {
    const auto folderOf = [this] {
        std::string folder = "before";
        EXPECT_EQ("ok", platform::LogLine(HostSettingsFolder(host, folder)));
        return folder;
    };
    EXPECT_EQ("C:\\Host\\settings_sub\\", folderOf());
    MemoryFileSystem fs;
    fs.AddStandardMachine();
    MappingEntries mappings;
    Add(mappings, 3, KeyOf(1110));
    AggregationConditions conditions;
    conditions.userId = "tester";
    conditions.selectionNo1 = 1;
    conditions.selectionNo2 = 7;
    conditions.mappings = &mappings;
    ASSERT_EQ("ok", platform::LogLine(saveSettings(fs, folderOf(), conditions)));
    EXPECT_TRUE(fs.Exists("C:\\Host\\settings_sub\\RV16_G_tester_1_7.env"));
    mappings.clear();
    ASSERT_TRUE(loadSettings(fs, folderOf(), conditions));
    ASSERT_EQ(1u, mappings.size());
    EXPECT_EQ(KeyOf(1110), mappings[0]->key);

    // A folder longer than 260 bytes is not used: nothing is read from it or saved into it.
    const auto loadsFrom = [&](const std::string& given) {
        fs.AddFolder(given);
        fs.AddFile(given + "\\RV16_G_tester_1_7.env", "[P1]\n8/0/0/\n[終了]\n[P2/P3]\n[終了]\n");
        host.settingsFolder = given + "\\";
        const std::string folder = folderOf();
        EXPECT_EQ(given + "\\", folder);
        return loadSettings(fs, folder, conditions);
    };
    EXPECT_TRUE(loadsFrom("C:\\" + std::string(256, 'x')));
    const std::string tooLong = "C:\\" + std::string(257, 'y');
    EXPECT_FALSE(loadsFrom(tooLong));
    const auto before = fs.Tree();
    EXPECT_EQ("no-data step=settings-folder",
              platform::LogLine(saveSettings(fs, tooLong + "\\", conditions)));
    EXPECT_EQ(before, fs.Tree());

    // Without a settings folder from the host nothing is saved.
    host.settingsFolder = std::nullopt;
    EXPECT_EQ("", folderOf());
    MemoryFileSystem empty;
    empty.AddStandardMachine();
    EXPECT_EQ("no-data step=settings-folder",
              platform::LogLine(saveSettings(empty, folderOf(), conditions)));
    EXPECT_TRUE(empty.CreatedLog().empty());

    // A host that refuses its folder is named as the cause; the folder stays empty.
    host.folderError = 5;
    std::string folder = "before";
    EXPECT_EQ("host-refused step=ClFileMgr::GetAppFolderPath code=5",
              platform::LogLine(HostSettingsFolder(host, folder)));
    EXPECT_EQ("", folder);
}
