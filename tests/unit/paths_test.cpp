// Path rules on Shift_JIS bytes, judged against the in-memory Windows file system.
#include "settings/paths.h"

#include "support/memory_filesystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::MemoryFileSystem;

TEST(CheckPathCharacters, RefusesForbiddenCharactersAfterTheDrive) {
    EXPECT_FALSE(CheckPathCharacters("C:\\out\\*.xml"));
    EXPECT_TRUE(CheckPathCharacters("C:\\out\\a.xml"));
    EXPECT_TRUE(CheckPathCharacters("C:a.xml")); // drive and file name without a backslash
    for (const char c : std::string("/:,;*?\"><|")) {
        const std::string path = std::string("C:\\out\\a") + c + "b.xml";
        EXPECT_FALSE(CheckPathCharacters(path)) << path;
    }
    // Without a colon the whole path is checked.
    EXPECT_TRUE(CheckPathCharacters("out\\a.xml"));
    EXPECT_FALSE(CheckPathCharacters("out;a.xml"));
}

TEST(CheckPathCharacters, StepsOverSecondBytesOfDoubleByteCharacters) {
    EXPECT_TRUE(CheckPathCharacters("C:\\表\\a.xml"));      // 95 5C then one real separator
    EXPECT_TRUE(CheckPathCharacters("C:\\ポ.xml"));         // 83 7C: not a '|'
    EXPECT_TRUE(CheckPathCharacters("C:\\ソ\\十\\能.xml")); // 83 5C, 8F 5C, 94 5C
    EXPECT_FALSE(CheckPathCharacters("C:\\表\\\\a.xml"));   // a real doubled backslash after 表
    EXPECT_FALSE(CheckPathCharacters("C:\\ポ|.xml"));
}

TEST(CheckPathCharacters, UncPathsAreCheckedFromTheThirdCharacter) {
    EXPECT_TRUE(CheckPathCharacters("\\\\server\\share\\a\\b.xml"));
    EXPECT_FALSE(CheckPathCharacters("\\\\server\\share\\\\a.xml"));
    EXPECT_FALSE(CheckPathCharacters("\\\\\\\\server\\a.xml"));
    EXPECT_FALSE(CheckPathCharacters("\\\\server\\share\\a:b.xml"));
    EXPECT_FALSE(CheckPathCharacters("C:\\out\\\\a.xml"));
}

class CheckPathDriveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.AddStandardMachine();
        fs.AddDrive('A', platform::kDriveRemovable);
        fs.AddDrive('D', platform::kDriveCdRom);
        fs.AddDrive('R', platform::kDriveRamDisk);
        fs.AddDrive('U', platform::kDriveUnknown);
        fs.AddDrive('N', platform::kDriveRemote);
        fs.AddShare("\\\\server\\share");
        fs.AddShare("\\\\server\\locked");
        fs.DenyWriteTo("\\\\server\\locked");
    }
    MemoryFileSystem fs;
};

TEST_F(CheckPathDriveTest, JudgesTheDriveByItsType) {
    EXPECT_TRUE(CheckPathDrive(fs, "C:\\out\\a.xml"));
    EXPECT_TRUE(CheckPathDrive(fs, "c:\\out\\a.xml"));
    EXPECT_TRUE(CheckPathDrive(fs, "C:a.xml"));
    EXPECT_TRUE(CheckPathDrive(fs, "A:\\a.xml"));
    EXPECT_TRUE(CheckPathDrive(fs, "N:\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "D:\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "R:\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "U:\\a.xml"));
    // A drive that does not exist passes; creating its folder fails later.
    EXPECT_TRUE(CheckPathDrive(fs, "Q:\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "C:\\out\\\\a.xml"));
    fs.DenyWriteTo("C:\\");
    EXPECT_FALSE(CheckPathDrive(fs, "C:\\out\\a.xml"));
}

TEST_F(CheckPathDriveTest, RefusesRelativePaths) {
    // "d.xml" must not be judged by drive D: nor land in the current folder.
    EXPECT_FALSE(CheckPathDrive(fs, "d.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "c.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "out\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "\\out\\a.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, ""));
    EXPECT_FALSE(CheckPathDrive(fs, "1:\\a.xml"));
}

TEST_F(CheckPathDriveTest, UncPathsNeedAWritableShareRoot) {
    EXPECT_TRUE(CheckPathDrive(fs, "\\\\server\\share\\a\\b.xml"));
    EXPECT_TRUE(CheckPathDrive(fs, "\\\\SERVER\\Share\\b.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "\\\\server\\locked\\b.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "\\\\server\\other\\b.xml"));
    EXPECT_FALSE(CheckPathDrive(fs, "\\\\server\\share")); // no backslash after the share
    EXPECT_FALSE(CheckPathDrive(fs, "\\\\server"));
}

TEST(EnsureTrailingSeparator, AppendsOnlyWhenNeededAndWithinTheBuffer) {
    std::string root = "C:\\";
    EXPECT_TRUE(EnsureTrailingSeparator(root));
    EXPECT_EQ("C:\\", root);
    std::string folder = "C:\\out";
    EXPECT_TRUE(EnsureTrailingSeparator(folder));
    EXPECT_EQ("C:\\out\\", folder);
    // 表 ends in 0x5C as its second byte: that is no separator.
    std::string kanji = "C:\\表";
    EXPECT_TRUE(EnsureTrailingSeparator(kanji));
    EXPECT_EQ("C:\\表\\", kanji);
    std::string empty;
    EXPECT_FALSE(EnsureTrailingSeparator(empty));

    std::string of259 = "C:\\" + std::string(256, 'a');
    EXPECT_TRUE(EnsureTrailingSeparator(of259));
    EXPECT_EQ(260u, of259.size());
    EXPECT_EQ('\\', of259.back());
    std::string of260 = "C:\\" + std::string(257, 'a');
    EXPECT_FALSE(EnsureTrailingSeparator(of260));
    EXPECT_EQ(260u, of260.size());
    std::string full = "C:\\" + std::string(256, 'a') + "\\";
    EXPECT_TRUE(EnsureTrailingSeparator(full));
    EXPECT_EQ(260u, full.size());
    std::string over = "C:\\" + std::string(257, 'a') + "\\";
    EXPECT_FALSE(EnsureTrailingSeparator(over));
}

TEST(FolderOfPath, TakesDriveAndDirectory) {
    const auto folderOf = [](const std::string& path) {
        std::string folder = "untouched";
        return FolderOfPath(path, folder) ? folder : "fail:" + folder;
    };
    EXPECT_EQ("C:\\out\\", folderOf("C:\\out\\a.xml"));
    EXPECT_EQ("C:\\out\\sub\\", folderOf("C:\\out\\sub\\"));
    EXPECT_EQ("C:\\", folderOf("C:\\a.xml"));
    EXPECT_EQ("C:\\", folderOf("C:a.xml"));
    EXPECT_EQ("\\\\server\\share\\a\\", folderOf("\\\\server\\share\\a\\b.xml"));
    EXPECT_EQ("C:\\dir\\", folderOf("C:\\dir\\表")); // 95 5C ends the name, not the folder
    EXPECT_EQ("C:\\表\\", folderOf("C:\\表\\a.xml"));
    EXPECT_EQ("fail:untouched", folderOf("a.xml"));
    EXPECT_EQ("fail:untouched", folderOf(""));
    EXPECT_EQ("fail:untouched", folderOf("C:\\" + std::string(257, 'a') + "\\b.xml"));
}

TEST(RootOfPath, IsTheDriveRootOrTheShare) {
    EXPECT_EQ("C:\\", RootOfPath("C:\\a\\b\\"));
    EXPECT_EQ("C:\\", RootOfPath("C:\\"));
    EXPECT_EQ("\\\\server\\share\\", RootOfPath("\\\\server\\share\\a\\"));
    EXPECT_EQ("\\\\server\\share\\", RootOfPath("\\\\server\\share"));
    EXPECT_EQ("", RootOfPath("C:a\\"));
    EXPECT_EQ("", RootOfPath("\\a\\"));
    EXPECT_EQ("", RootOfPath("a\\b\\"));
    EXPECT_EQ("", RootOfPath("\\\\server\\"));
    EXPECT_EQ("", RootOfPath("\\\\\\share\\"));
}

class CreateFolderChainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.AddStandardMachine();
        fs.AddFolder("C:\\a");
    }
    MemoryFileSystem fs;
};

TEST_F(CreateFolderChainTest, CreatesEachMissingLevelInOrder) {
    EXPECT_TRUE(CreateFolderChain(fs, "C:\\a\\b\\c\\out.xml").ok());
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\b\\", "C:\\a\\b\\c\\"}), fs.CreatedLog());
    EXPECT_TRUE(fs.DirectoryExists("C:\\a\\b\\c"));
    EXPECT_TRUE(CreateFolderChain(fs, "C:\\a\\b\\c\\other.xml").ok()); // all there: nothing to do
    EXPECT_EQ(2u, fs.CreatedLog().size());
}

TEST_F(CreateFolderChainTest, RemovesWhatItCreatedWhenALevelFails) {
    const auto before = fs.Tree();
    fs.FailCreationOf("C:\\a\\b\\c");
    EXPECT_FALSE(CreateFolderChain(fs, "C:\\a\\b\\c\\").ok());
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\b\\"}), fs.CreatedLog());
    EXPECT_EQ(before, fs.Tree()); // C:\a\b\ removed again, C:\a\ stays
    EXPECT_TRUE(fs.DirectoryExists("C:\\a"));
}

TEST_F(CreateFolderChainTest, EveryFailingCreationLeavesTheTreeAsItWas) {
    const std::string path = "C:\\a\\x\\y\\z\\w\\out.xml";
    MemoryFileSystem probe;
    probe.AddStandardMachine();
    probe.AddFolder("C:\\a");
    probe.ClearFaults();
    ASSERT_TRUE(CreateFolderChain(probe, path).ok());
    const int operations = probe.CountedOperations();
    EXPECT_EQ(4, operations);
    const auto before = fs.Tree();
    for (int n = 1; n <= operations; ++n) {
        MemoryFileSystem run;
        run.AddStandardMachine();
        run.AddFolder("C:\\a");
        run.FailNth(n);
        EXPECT_FALSE(CreateFolderChain(run, path).ok()) << "creation " << n << " failed";
        EXPECT_EQ(before, run.Tree()) << "creation " << n << " failed";
    }
}

TEST_F(CreateFolderChainTest, NeverRemovesFoldersThatExistedBefore) {
    fs.AddFolder("C:\\a\\b");
    fs.DenyWriteTo("C:\\a\\b");
    const auto before = fs.Tree();
    EXPECT_FALSE(CreateFolderChain(fs, "C:\\a\\b\\c\\d\\out.xml").ok());
    EXPECT_EQ(before, fs.Tree());
}

TEST_F(CreateFolderChainTest, RefusesPathsWithoutARoot) {
    const auto before = fs.Tree();
    for (const char* path : {"d.xml", "new\\d.xml", "\\new\\d.xml", "C:new\\d.xml", ""}) {
        EXPECT_FALSE(CreateFolderChain(fs, path).ok()) << path;
    }
    EXPECT_EQ(before, fs.Tree());
    EXPECT_TRUE(fs.CreatedLog().empty());
}

TEST_F(CreateFolderChainTest, SplitsOnlyAtRealSeparators) {
    EXPECT_TRUE(CreateFolderChain(fs, "C:\\表\\ソ\\a.xml").ok());
    EXPECT_EQ((std::vector<std::string>{"C:\\表\\", "C:\\表\\ソ\\"}), fs.CreatedLog());
}

TEST_F(CreateFolderChainTest, WorksOnShares) {
    fs.AddShare("\\\\server\\share");
    EXPECT_TRUE(CreateFolderChain(fs, "\\\\server\\share\\x\\y\\a.xml").ok());
    EXPECT_EQ((std::vector<std::string>{"\\\\server\\share\\x\\", "\\\\server\\share\\x\\y\\"}),
              fs.CreatedLog());
    EXPECT_FALSE(CreateFolderChain(fs, "\\\\server\\gone\\x\\a.xml").ok());
}

TEST_F(CreateFolderChainTest, RefusesFoldersLongerThanTheBuffer) {
    const std::string longName(300, 'n');
    EXPECT_FALSE(CreateFolderChain(fs, "C:\\a\\" + longName + "\\out.xml").ok());
    EXPECT_TRUE(fs.CreatedLog().empty());
}

TEST(TemporaryPathBeside, ReplacesTheFileNameInTheSameFolder) {
    EXPECT_EQ("C:\\out\\~ovw7_1.tmp", TemporaryPathBeside("C:\\out\\a.xml", 7, 1));
    EXPECT_EQ("C:~ovw7_2.tmp", TemporaryPathBeside("C:a.xml", 7, 2));
    EXPECT_EQ("~ovw4294967295_4294967295.tmp",
              TemporaryPathBeside("a.xml", 4294967295u, 4294967295u));
    EXPECT_EQ("C:\\出力/表\\~ovw1_3.tmp", TemporaryPathBeside("C:\\出力/表\\~report.xml", 1, 3));
    // 表 ends in 0x5C: not a separator.
    EXPECT_EQ("C:\\~ovw1_1.tmp", TemporaryPathBeside("C:\\表.xml", 1, 1));
    EXPECT_EQ("\\\\srv\\share\\~ovw1_1.tmp", TemporaryPathBeside("\\\\srv\\share\\a.xml", 1, 1));
    // A folder of 260 bytes is taken, one longer is not.
    const std::string folder = "C:\\" + std::string(256, 'f') + "\\";
    EXPECT_EQ(folder + "~ovw1_1.tmp", TemporaryPathBeside(folder + "a.xml", 1, 1));
    EXPECT_EQ("", TemporaryPathBeside("C:\\f" + folder.substr(2) + "a.xml", 1, 1));
    EXPECT_EQ("", TemporaryPathBeside("", 1, 1));
}

TEST(CreateTemporaryBeside, StepsOverNamesThatAreTakenAndNeverTouchesThem) {
    MemoryFileSystem fs;
    fs.AddStandardMachine();
    fs.AddFolder("C:\\out");
    std::string first;
    ASSERT_NE(nullptr, CreateTemporaryBeside(fs, "C:\\out\\a.xml", first));
    ASSERT_EQ(0u, first.find("C:\\out\\~ovw4242_")) << first;
    const unsigned number = static_cast<unsigned>(std::stoul(first.substr(16)));
    // The next three names are held by files of someone else.
    for (unsigned next = number + 1; next <= number + 3; ++next)
        fs.AddFile(TemporaryPathBeside("C:\\out\\a.xml", 4242, next), "taken");
    std::string second;
    ASSERT_NE(nullptr, CreateTemporaryBeside(fs, "C:\\out\\a.xml", second));
    EXPECT_EQ(TemporaryPathBeside("C:\\out\\a.xml", 4242, number + 4), second);
    for (unsigned next = number + 1; next <= number + 3; ++next)
        EXPECT_EQ("taken", fs.FileBytes(TemporaryPathBeside("C:\\out\\a.xml", 4242, next)));
    // A folder where nothing can be created: none.
    std::string none;
    EXPECT_EQ(nullptr, CreateTemporaryBeside(fs, "C:\\missing\\a.xml", none));
}

TEST_F(CreateFolderChainTest, GivesWhatItCreatedForARollBack) {
    std::vector<std::string> created;
    ASSERT_TRUE(CreateFolderChain(fs, "C:\\a\\x\\y\\a.xml", &created).ok());
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\x\\", "C:\\a\\x\\y\\"}), created);
    RemoveFolders(fs, created);
    EXPECT_FALSE(fs.DirectoryExists("C:\\a\\x\\"));
    EXPECT_TRUE(fs.DirectoryExists("C:\\a"));
}

// The roll-back of a failed chain tries each removal again, and names what still stays.
TEST_F(CreateFolderChainTest, ARollBackThatFailsIsTriedAgainAndThenReported) {
    const auto before = fs.Tree();
    fs.FailCreationOf("C:\\a\\x\\y\\z");
    fs.FailNth(1, MemoryFileSystem::kRemove);
    EXPECT_FALSE(CreateFolderChain(fs, "C:\\a\\x\\y\\z\\a.xml").ok());
    EXPECT_EQ(before, fs.Tree());
    EXPECT_TRUE(fs.DebugLines().empty());

    fs.FailNth(1, MemoryFileSystem::kRemove, false, 2);
    EXPECT_FALSE(CreateFolderChain(fs, "C:\\a\\x\\y\\z\\a.xml").ok());
    // y could not be removed, and so neither could x, which still holds it.
    EXPECT_EQ(
        std::vector<std::string>({"could not remove C:\\a\\x\\y\\", "could not remove C:\\a\\x\\"}),
        fs.DebugLines());
    EXPECT_TRUE(fs.UnreportedChanges(before).empty());
}
