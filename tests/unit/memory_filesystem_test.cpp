// The in-memory file system behaves as the Windows calls it stands for, so tests built on it
// judge the code and not the double.
#include "support/memory_filesystem.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using testsupport::MemoryFileSystem;

namespace {

bool WriteFile(MemoryFileSystem& fs, const std::string& path, const std::string& bytes) {
    auto file = fs.OpenForWrite(path);
    if (!file)
        return false;
    const bool written = file->Write(bytes.data(), bytes.size());
    return file->Close() && written;
}

class MemoryFileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override { fs.AddStandardMachine(); }
    MemoryFileSystem fs;
};

} // namespace

TEST_F(MemoryFileSystemTest, PathsCompareWithoutCaseAndResolveAsWindowsDoes) {
    fs.AddFile("C:\\Data\\Book.TXT", "x");
    EXPECT_TRUE(fs.Exists("c:\\data\\book.txt"));
    EXPECT_TRUE(fs.Exists("C:/Data//Book.txt"));
    EXPECT_TRUE(fs.Exists("C:\\Data\\.\\sub\\..\\Book.txt"));
    EXPECT_TRUE(fs.DirectoryExists("C:\\DATA\\"));
    EXPECT_FALSE(fs.DirectoryExists("C:\\Data\\Book.txt"));
    // Relative forms resolve against the current directory C:\Program.
    fs.AddFile("C:\\Program\\rel.txt", "r");
    EXPECT_TRUE(fs.Exists("rel.txt"));
    EXPECT_TRUE(fs.Exists("C:rel.txt"));
    EXPECT_TRUE(fs.Exists("\\Data\\Book.txt"));
    EXPECT_TRUE(fs.ChangeDirectory("c:\\data"));
    EXPECT_EQ("C:\\Data", fs.CurrentDirectory());
    EXPECT_TRUE(fs.Exists("book.txt"));
    EXPECT_TRUE(fs.ChangeDirectory("C:\\"));
    EXPECT_EQ("C:\\", fs.CurrentDirectory());
    // "D:name" resolves against D:\ while the current directory lies on C:.
    fs.AddDrive('D', platform::kDriveFixed);
    fs.AddFile("D:\\d.txt", "d");
    EXPECT_TRUE(fs.Exists("D:d.txt"));
    EXPECT_FALSE(fs.Exists("d.txt"));
    EXPECT_FALSE(fs.ChangeDirectory("C:\\Nowhere"));
}

TEST_F(MemoryFileSystemTest, SecondByteOfDoubleByteCharacterIsNeitherSeparatorNorFolded) {
    // 表 is 95 5C: "C:\表" is one folder, not "C:\\x95" plus a separator.
    fs.AddFolder("C:\\表");
    EXPECT_EQ((std::map<std::string, std::string>{
                  {"C:\\Program\\", "<dir>"}, {"C:\\Temp\\", "<dir>"}, {"C:\\表\\", "<dir>"}}),
              fs.Tree());
    // ア is 83 41 and チ is 83 60; folding the 'A'-like second byte would merge them with
    // other names. ｱ (single byte B1) differs too.
    fs.AddFolder("C:\\ア");
    EXPECT_FALSE(fs.DirectoryExists("C:\\\x83\x61"));
    // ポ is 83 7C: its second byte is '|' yet the name is valid.
    EXPECT_TRUE(fs.MakeDirectory("C:\\ポ"));
    EXPECT_FALSE(fs.MakeDirectory("C:\\a|b"));
    EXPECT_FALSE(fs.MakeDirectory("C:\\a*b"));
    EXPECT_FALSE(fs.MakeDirectory("C:\\a:b"));
}

TEST_F(MemoryFileSystemTest, DrivesReportTheirTypesAndCdRomsAreReadOnly) {
    fs.AddDrive('d', platform::kDriveCdRom);
    fs.AddDrive('R', platform::kDriveRamDisk);
    fs.AddDrive('N', platform::kDriveNoRootDir);
    fs.AddShare("\\\\server\\share");
    EXPECT_EQ(platform::kDriveFixed, fs.DriveTypeOf("C:\\"));
    EXPECT_EQ(platform::kDriveCdRom, fs.DriveTypeOf("D:\\"));
    EXPECT_EQ(platform::kDriveRamDisk, fs.DriveTypeOf("r:\\"));
    EXPECT_EQ(platform::kDriveNoRootDir, fs.DriveTypeOf("N:\\"));
    EXPECT_EQ(platform::kDriveNoRootDir, fs.DriveTypeOf("Q:\\"));
    EXPECT_EQ(platform::kDriveRemote, fs.DriveTypeOf("\\\\SERVER\\Share\\"));
    EXPECT_EQ(platform::kDriveNoRootDir, fs.DriveTypeOf("\\\\server\\other\\"));
    EXPECT_EQ(platform::kDriveNoRootDir, fs.DriveTypeOf("C:\\Program\\"));
    EXPECT_TRUE(fs.Exists("D:\\"));
    EXPECT_FALSE(fs.Exists("N:\\"));
    EXPECT_FALSE(fs.CanReadWrite("D:\\"));
    EXPECT_TRUE(fs.CanReadWrite("C:\\"));
    EXPECT_TRUE(fs.CanReadWrite("\\\\server\\share"));
    EXPECT_FALSE(fs.MakeDirectory("D:\\x"));
    EXPECT_TRUE(fs.MakeDirectory("\\\\server\\share\\x"));
    EXPECT_TRUE(fs.DirectoryExists("\\\\Server\\SHARE\\X\\"));
}

TEST_F(MemoryFileSystemTest, FolderCreationAndRemovalFollowCreateAndRemoveDirectory) {
    EXPECT_TRUE(fs.MakeDirectory("C:\\a"));
    EXPECT_FALSE(fs.MakeDirectory("C:\\a\\"));  // already there
    EXPECT_FALSE(fs.MakeDirectory("C:\\x\\y")); // parent missing
    EXPECT_FALSE(fs.MakeDirectory("C:\\"));     // a root
    fs.FailCreationOf("C:\\a\\Blocked");
    EXPECT_FALSE(fs.MakeDirectory("c:\\a\\blocked"));
    fs.DenyWriteTo("C:\\a");
    EXPECT_FALSE(fs.MakeDirectory("C:\\a\\b"));
    EXPECT_FALSE(fs.CanReadWrite("C:\\a"));
    EXPECT_TRUE(fs.CanReadWrite("C:\\Program"));
    fs.AddFolder("C:\\a\\deep\\er");
    EXPECT_FALSE(fs.MakeDirectory("C:\\a\\deep\\er\\x")); // denial is inherited
    EXPECT_FALSE(fs.RemoveFolder("C:\\a\\deep\\er"));
    EXPECT_EQ((std::vector<std::string>{"C:\\a\\"}), fs.CreatedLog());

    fs.AddFolder("C:\\m\\n");
    EXPECT_FALSE(fs.RemoveFolder("C:\\m")); // not empty
    EXPECT_TRUE(fs.RemoveFolder("C:\\m\\n\\"));
    EXPECT_TRUE(fs.RemoveFolder("C:\\M"));
    EXPECT_FALSE(fs.RemoveFolder("C:\\m"));       // gone
    EXPECT_FALSE(fs.RemoveFolder("C:\\Program")); // the current directory
}

TEST_F(MemoryFileSystemTest, FilesAreWrittenInPlaceAndLockedWhileOpen) {
    auto file = fs.OpenForWrite("C:\\Temp\\out.txt");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Write("abc", 3));
    EXPECT_EQ("abc", fs.FileBytes("C:\\Temp\\out.txt")); // visible before Close, as on disk
    std::string bytes;
    EXPECT_FALSE(fs.ReadFile("C:\\Temp\\out.txt", bytes));
    EXPECT_FALSE(fs.OpenForWrite("C:\\Temp\\out.txt"));
    EXPECT_FALSE(fs.MoveReplacing("C:\\Temp\\out.txt", "C:\\Temp\\b.txt"));
    EXPECT_FALSE(fs.DeleteFileAt("C:\\Temp\\out.txt"));
    EXPECT_TRUE(file->Close());
    EXPECT_FALSE(file->Write("d", 1));
    ASSERT_TRUE(fs.ReadFile("c:\\temp\\OUT.txt", bytes));
    EXPECT_EQ("abc", bytes);

    EXPECT_TRUE(WriteFile(fs, "C:\\Temp\\out.txt", "z")); // truncates
    EXPECT_EQ("z", fs.FileBytes("C:\\Temp\\out.txt"));
    EXPECT_FALSE(fs.OpenForWrite("C:\\Missing\\a.txt"));
    EXPECT_FALSE(fs.OpenForWrite("C:\\Temp"));
    fs.AddFile("C:\\Temp\\ro.txt", "keep", true);
    EXPECT_FALSE(fs.OpenForWrite("C:\\Temp\\ro.txt"));
    EXPECT_FALSE(fs.CanReadWrite("C:\\Temp\\ro.txt"));
    EXPECT_TRUE(fs.CanReadWrite("C:\\Temp\\out.txt"));
    EXPECT_FALSE(fs.DeleteFileAt("C:\\Temp\\ro.txt"));
    EXPECT_EQ("keep", fs.FileBytes("C:\\Temp\\ro.txt"));
}

TEST_F(MemoryFileSystemTest, MoveReplacingPutsTheFileInPlaceInOneStep) {
    fs.AddFile("C:\\Temp\\new.tmp", "new");
    fs.AddFile("C:\\Temp\\target.txt", "old");
    EXPECT_TRUE(fs.MoveReplacing("C:\\Temp\\new.tmp", "C:\\temp\\TARGET.txt"));
    EXPECT_FALSE(fs.HasFile("C:\\Temp\\new.tmp"));
    EXPECT_EQ("new", fs.FileBytes("C:\\Temp\\target.txt"));
    EXPECT_EQ(1u, fs.Tree().count("C:\\Temp\\target.txt")); // keeps its first-created name
    EXPECT_FALSE(fs.MoveReplacing("C:\\Temp\\none", "C:\\Temp\\x"));
    fs.AddFile("C:\\Temp\\a", "a");
    fs.AddFile("C:\\Temp\\ro", "ro", true);
    EXPECT_FALSE(fs.MoveReplacing("C:\\Temp\\a", "C:\\Temp\\ro"));
    EXPECT_FALSE(fs.MoveReplacing("C:\\Temp\\a", "C:\\Program"));
    EXPECT_TRUE(fs.DeleteFileAt("C:\\Temp\\a"));
    EXPECT_FALSE(fs.Exists("C:\\Temp\\a"));
}

TEST_F(MemoryFileSystemTest, FaultHookFailsTheNthCountedOperation) {
    const auto run = [this] {
        std::string result;
        result += fs.MakeDirectory("C:\\f") ? 'M' : 'm';
        auto file = fs.OpenForWrite("C:\\f\\x.txt");
        result += file ? 'O' : 'o';
        if (file) {
            result += file->Write("abcd", 4) ? 'W' : 'w';
            result += file->Close() ? 'C' : 'c';
        }
        result += fs.MoveReplacing("C:\\f\\x.txt", "C:\\f\\y.txt") ? 'R' : 'r';
        return result;
    };
    fs.ClearFaults();
    EXPECT_EQ("MOWCR", run());
    EXPECT_EQ(5, fs.CountedOperations()); // removals are not counted by default
    EXPECT_FALSE(fs.FaultFired());

    EXPECT_TRUE(fs.DeleteFileAt("C:\\f\\y.txt"));
    EXPECT_TRUE(fs.RemoveFolder("C:\\f"));
    fs.FailNth(3);
    EXPECT_EQ("MOwcR", run()); // Close reports the failed write too
    EXPECT_TRUE(fs.FaultFired());
    EXPECT_EQ("ab", fs.FileBytes("C:\\f\\y.txt")); // a failed write leaves half behind

    MemoryFileSystem other;
    other.AddStandardMachine();
    other.FailNth(2, MemoryFileSystem::kCreate | MemoryFileSystem::kRemove, true);
    EXPECT_TRUE(other.MakeDirectory("C:\\f"));
    EXPECT_FALSE(other.OpenForWrite("C:\\f\\x"));
    EXPECT_FALSE(other.RemoveFolder("C:\\f")); // persistent: everything after fails
    EXPECT_FALSE(other.MakeDirectory("C:\\g"));
    other.ClearFaults();
    EXPECT_TRUE(other.RemoveFolder("C:\\f"));
}

TEST_F(MemoryFileSystemTest, FailedCallsLeaveTheSystemsErrorAsGetLastErrorWould) {
    EXPECT_EQ(0u, fs.LastError());
    EXPECT_EQ(nullptr, fs.OpenForWrite("C:\\Missing\\a.txt"));
    EXPECT_EQ(MemoryFileSystem::kErrorPathNotFound, fs.LastError());
    ASSERT_TRUE(WriteFile(fs, "C:\\Temp\\a.txt", "a"));
    EXPECT_EQ(nullptr, fs.CreateNewFile("C:\\Temp\\a.txt"));
    EXPECT_EQ(MemoryFileSystem::kErrorFileExists, fs.LastError());
    EXPECT_FALSE(fs.ChangeDirectory("C:\\Gone"));
    EXPECT_EQ(MemoryFileSystem::kErrorPathNotFound, fs.LastError());
    std::string bytes;
    EXPECT_FALSE(fs.ReadFile("C:\\Temp\\b.txt", bytes));
    EXPECT_EQ(MemoryFileSystem::kErrorFileNotFound, fs.LastError());
    fs.DenyWriteTo("C:\\Temp");
    EXPECT_FALSE(fs.MakeDirectory("C:\\Temp\\sub"));
    EXPECT_EQ(MemoryFileSystem::kErrorAccessDenied, fs.LastError());
    {
        auto open = fs.OpenForWrite("C:\\Program\\b.txt");
        ASSERT_NE(nullptr, open);
        EXPECT_FALSE(fs.DeleteFileAt("C:\\Program\\b.txt"));
        EXPECT_EQ(MemoryFileSystem::kErrorSharingViolation, fs.LastError());
        EXPECT_TRUE(open->Close());
    }

    // A fault of the hook reports the fault error, on the file system or on the file.
    fs.SetFaultError(MemoryFileSystem::kErrorAccessDenied);
    fs.FailNth(1);
    EXPECT_FALSE(fs.MakeDirectory("C:\\Program\\sub"));
    EXPECT_EQ(MemoryFileSystem::kErrorAccessDenied, fs.LastError());
    auto file = fs.OpenForWrite("C:\\Program\\c.txt");
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(0u, file->Error());
    fs.SetFaultError(MemoryFileSystem::kErrorDiskFull);
    fs.FailNth(1);
    EXPECT_FALSE(file->Write("abcd", 4));
    EXPECT_EQ(MemoryFileSystem::kErrorDiskFull, file->Error());
    EXPECT_FALSE(file->Close());
}

TEST_F(MemoryFileSystemTest, ProfileStringsAreReadFromTheStoredFile) {
    fs.AddFile("C:\\Program\\QuorinDef.ini", "[Version]\r\nLevel = 21 \r\n");
    EXPECT_EQ("21",
              fs.ReadProfileString("version", "LEVEL", "x", 16, "C:\\Program\\QuorinDef.ini"));
    EXPECT_EQ("2", fs.ReadProfileString("Version", "Level", "x", 2, "C:\\Program\\QuorinDef.ini"));
    EXPECT_EQ("dflt",
              fs.ReadProfileString("Version", "Other", "dflt", 16, "C:\\Program\\QuorinDef.ini"));
    EXPECT_EQ("dflt", fs.ReadProfileString("Version", "Level", "dflt", 16, "C:\\none.ini"));
}

TEST(MemoryFileSystemSetup, FoldersOfTheMachineAreReported) {
    MemoryFileSystem fs;
    EXPECT_FALSE(fs.Exists("C:\\"));
    fs.AddStandardMachine();
    fs.SetProgramFolder("C:\\Program Files\\Ovw");
    fs.SetTempFolder("D:\\tmp\\");
    EXPECT_EQ("C:\\Program Files\\Ovw\\", fs.ProgramFolder());
    EXPECT_EQ("D:\\tmp\\", fs.TempFolder());
    EXPECT_EQ("C:\\Program", fs.CurrentDirectory());
    EXPECT_THROW(fs.AddFolder("Q:\\x"), std::invalid_argument);
}
