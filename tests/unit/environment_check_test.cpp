#include "app/environment_check.h"

#include "support/fake_host.h"
#include "support/memory_filesystem.h"
#include "support/status_matchers.h"
#include "texts/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Remembers the paths that the check looks at.
class RecordingFileSystem : public testsupport::MemoryFileSystem {
  public:
    bool Exists(const std::string& path) override {
        existsPaths.push_back(path);
        return MemoryFileSystem::Exists(path);
    }
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, std::size_t size,
                                  const std::string& path) override {
        profilePaths.push_back(path);
        return MemoryFileSystem::ReadProfileString(section, key, defaultValue, size, path);
    }
    std::vector<std::string> existsPaths;
    std::vector<std::string> profilePaths;
};

const char kProgram[] = "C:\\Program";

std::string LevelFile(const std::string& value) {
    return "[ProgramLevel]\r\nRV16_G=" + value + "\r\n";
}

// The verdict of the check on a definition file: the code whose message it shows.
EnvironmentCode CodeOfFile(const std::string& bytes) {
    RecordingFileSystem files;
    files.AddStandardMachine();
    files.AddFile("C:\\Program\\QuorinDef.ini", bytes);
    files.SetCurrentDirectory(kProgram);
    testsupport::FakeHost host;
    const bool passed = CheckEnvironment(host, files, nullptr, 1).ok();
    if (host.messages.empty())
        return passed ? kEnvironmentMatches : kEnvironmentInvalid;
    const std::string& shown = host.messages.back().text;
    EXPECT_FALSE(passed) << "a message for a passing check: " << shown;
    if (shown == texts::kEnvironmentTargetOldMessage)
        return kEnvironmentTargetOld;
    if (shown == texts::kEnvironmentTargetNewMessage)
        return kEnvironmentTargetNew;
    EXPECT_EQ(texts::kEnvironmentInvalidMessage, shown);
    return kEnvironmentInvalid;
}

class CheckEnvironmentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.AddStandardMachine();
        files.SetCurrentDirectory(kProgram);
    }

    // The single message shown by a failing check, with owner and style checked.
    std::string FailingCheckMessage() {
        refusal = CheckEnvironment(host, files, owner, 1);
        EXPECT_FALSE(refusal.ok());
        const auto& shown = host.messages;
        if (shown.size() != 1) {
            ADD_FAILURE() << "messages shown: " << shown.size();
            return std::string();
        }
        EXPECT_EQ(owner, shown[0].owner);
        EXPECT_EQ("事業概況書", shown[0].caption);
        EXPECT_EQ(0x30u, shown[0].style);
        return shown[0].text;
    }

    testsupport::FakeHost host;
    RecordingFileSystem files;
    HostWnd owner = reinterpret_cast<HostWnd>(0x1234);
    // What the last FailingCheckMessage refused with.
    platform::Status refusal;
};

} // namespace

TEST(EnvironmentLevel, LevelIsTheValuesLeadingNumber) {
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile(LevelFile("3")));
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile(LevelFile("3.0")));
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile(LevelFile("3 ; comment")));
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile(LevelFile("+3")));
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile("[programlevel]\nrv16_g = 3 \n"));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile(LevelFile("2")));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile(LevelFile("abc")));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile(LevelFile("-3")));
    EXPECT_EQ(kEnvironmentTargetNew, CodeOfFile(LevelFile("4")));
    EXPECT_EQ(kEnvironmentTargetNew, CodeOfFile(LevelFile("30")));
}

TEST(EnvironmentLevel, LongNumbersDoNotWrapRoundToTheLevel) {
    // 4294967299 is 2^32 + 3: an int that wrapped would read 3.
    EXPECT_EQ(kEnvironmentTargetNew, CodeOfFile(LevelFile("4294967299")));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile(LevelFile("-4294967293")));
    // Only 15 bytes are read: "000000000000003" of a longer value.
    EXPECT_EQ(kEnvironmentMatches, CodeOfFile(LevelFile("0000000000000034")));
}

TEST(EnvironmentLevel, MissingSectionOrKeyReadsTheDefaultLevel1) {
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile("[ProgramLevel]\r\nRV30_G=3\r\n"));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile("[Other]\r\nRV16_G=3\r\n"));
    EXPECT_EQ(kEnvironmentTargetOld, CodeOfFile(""));
}

TEST(EnvironmentLevel, EmptyValueOrNoFileIsInvalid) {
    EXPECT_EQ(kEnvironmentInvalid, CodeOfFile(LevelFile("")));
    EXPECT_EQ(kEnvironmentInvalid, CodeOfFile(LevelFile("  \t")));
    EXPECT_EQ(kEnvironmentInvalid, CodeOfFile(LevelFile("\"\"")));

    RecordingFileSystem files;
    files.AddStandardMachine();
    files.SetCurrentDirectory(kProgram);
    testsupport::FakeHost host;
    EXPECT_EQ("bad-file step=definition-file file=C:\\\\Program\\\\QuorinDef.ini "
              "place=no file",
              platform::LogLine(CheckEnvironment(host, files, nullptr, 0)));
    EXPECT_TRUE(files.profilePaths.empty()) << "read " << files.profilePaths.size() << " times";
}

TEST(EnvironmentLevel, SeparatorRuleStepsOverDoubleByteCharacters) {
    struct Case {
        const char* folder;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Program", "C:\\Program\\QuorinDef.ini"},
        // 表 is 95 5C: its trail byte is not a separator.
        {"C:\\表", "C:\\表\\QuorinDef.ini"},
        {"C:\\データ\\ソ", "C:\\データ\\ソ\\QuorinDef.ini"},
        {"C:\\表\\", "C:\\表\\QuorinDef.ini"},
        {"D:\\", "D:\\QuorinDef.ini"},
    };
    for (const Case& c : cases) {
        RecordingFileSystem files;
        files.AddStandardMachine();
        files.AddDrive('D', platform::kDriveFixed);
        files.AddFile(c.expected, LevelFile("3"));
        files.SetCurrentDirectory(c.folder);
        testsupport::FakeHost host;
        EXPECT_TRUE(CheckEnvironment(host, files, nullptr, 0).ok()) << "folder " << c.folder;
        ASSERT_EQ(1u, files.existsPaths.size());
        EXPECT_EQ(c.expected, files.existsPaths[0]) << "folder " << c.folder;
        ASSERT_EQ(1u, files.profilePaths.size());
        EXPECT_EQ(c.expected, files.profilePaths[0]) << "folder " << c.folder;
    }
}

TEST_F(CheckEnvironmentTest, PassesSilentlyAtLevel3) {
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile("3"));
    EXPECT_OK(CheckEnvironment(host, files, owner, 1));
    EXPECT_TRUE(host.messages.empty()) << "shown: " << host.messages.front().text;
}

TEST_F(CheckEnvironmentTest, NoDefinitionFileShowsTheInvalidEnvironmentMessage) {
    EXPECT_EQ(
        std::string("動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認"
                    "してください。"),
        FailingCheckMessage());
}

TEST_F(CheckEnvironmentTest, LowerLevelAsksForTheLatestFilingApplication) {
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile("2"));
    EXPECT_EQ(
        std::string("ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使"
                    "用できません。\nES_APRPACKAGENAMEの最新版を入手してインストールしてからご"
                    "利用ください。"),
        FailingCheckMessage());
}

TEST_F(CheckEnvironmentTest, HigherLevelAsksForTheLatestLinkComponent) {
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile("4"));
    EXPECT_EQ(
        std::string("ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使"
                    "用できません。\n連動コンポーネントの最新版を入手してインストールしてからご"
                    "利用ください。"),
        FailingCheckMessage());
}

TEST_F(CheckEnvironmentTest, FailsWithoutMessageWhenMessagesAreOff) {
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile("4"));
    EXPECT_EQ("range-refused step=definition-level value=4",
              LogLine(CheckEnvironment(host, files, owner, 0)));
    EXPECT_TRUE(host.messages.empty()) << "shown: " << host.messages.front().text;
}

TEST_F(CheckEnvironmentTest, RefusalsKeepTheirCause) {
    FailingCheckMessage();
    EXPECT_EQ("bad-file step=definition-file file=C:\\\\Program\\\\QuorinDef.ini place=no file",
              LogLine(refusal));
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile(""));
    host.messages.clear();
    FailingCheckMessage();
    EXPECT_EQ("bad-file step=definition-file file=C:\\\\Program\\\\QuorinDef.ini "
              "place=[ProgramLevel] RV16_G empty",
              LogLine(refusal));
    files.AddFile("C:\\Program\\QuorinDef.ini", LevelFile("2"));
    host.messages.clear();
    FailingCheckMessage();
    EXPECT_EQ("range-refused step=definition-level value=2", LogLine(refusal));
}
