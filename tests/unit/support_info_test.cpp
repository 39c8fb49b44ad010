// The host's support-information file: the two keys, where a value ends, the 30000-byte window
// and an allocation that fails.
#include "report/support_info.h"

#include "report_test_support.h"
#include "support/memory_filesystem.h"
#include "support/portable/heap_memory.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::MemoryFileSystem;

namespace {

class SupportInfoTest : public ::testing::Test {
  protected:
    void SetUp() override { fs.AddStandardMachine(); }
    void Install(const std::string& bytes) { fs.AddFile("C:\\Program\\SUPPORT.INF", bytes); }

    MemoryFileSystem fs;
    platform::HeapMemory memory;
    reporttest::RecordingDesktop desktop;
    ClSupportInfo info{fs, memory, desktop};
};

} // namespace

TEST_F(SupportInfoTest, ReadsBothKeysFromTheProgramFolder) {
    Install("[=サポート=]0120\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]21.00.03\r\n[=製品名=]Orvano２１ Tessel\r\n");
    EXPECT_EQ("Orvano２１ Tessel", info.GetProductName());
    EXPECT_EQ("21.00.03", info.GetProductVersion());
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SupportInfoTest, IsReadOnceAtTheFirstLookup) {
    Install("[=製品名=]first\r\n");
    EXPECT_EQ("first", info.GetProductName());
    Install("[=製品名=]second\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]2\r\n");
    EXPECT_EQ("", info.GetProductVersion());
    EXPECT_EQ("first", info.GetProductName());
}

TEST_F(SupportInfoTest, AbsentFileOrKeyOrEmptyValueGivesEmptyText) {
    EXPECT_EQ("", info.GetProductName());
    EXPECT_EQ("", info.GetProductVersion());

    Install("[=製品名=]\r\n[=製品名=]second\r\n");
    ClSupportInfo empty(fs, memory, desktop);
    EXPECT_EQ("", empty.GetProductName()); // the first match counts
    EXPECT_EQ("", empty.GetProductVersion());
}

TEST_F(SupportInfoTest, ValueEndsAtCrLfBareLfNulEofMarkOrTheEndOfTheFile) {
    const struct {
        const char* name;
        std::string file;
        std::string product;
    } cases[] = {
        {"CR LF", "[=製品名=]A B\r\nnext", "A B"},
        {"bare LF", "[=製品名=]A B\nnext", "A B"},
        {"NUL", std::string("[=製品名=]A\0B", 14), "A"},
        {"EOF mark",
         "[=製品名=]A\x1A"
         "B",
         "A"},
        {"no line end", "[=製品名=]last line", "last line"},
        {"bare CR stays", "[=製品名=]A\rB\r\n", "A\rB"},
        {"key at the very end", "x\r\n[=製品名=]", ""},
    };
    for (const auto& c : cases) {
        Install(c.file);
        ClSupportInfo fresh(fs, memory, desktop);
        EXPECT_EQ(c.product, fresh.GetProductName()) << c.name;
    }
}

TEST_F(SupportInfoTest, OnlyTheFirst30000BytesCount) {
    const std::string filler(29970, 'x');
    // The name's key ends at byte 29990 and its value runs past byte 30000; the version's key
    // starts beyond the window.
    Install(filler + "\r\n" + "[=製品名=]" + std::string(20, 'v') + "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9\r\n");
    EXPECT_EQ(std::string(18, 'v'), info.GetProductName());
    EXPECT_EQ("", info.GetProductVersion());

    // A value cut by the end of the window keeps whole characters only: byte 29999 is the lead
    // byte of 表.
    Install(std::string(29981, 'x') + "[=製品名=]" + "12345678表表");
    ClSupportInfo halves(fs, memory, desktop);
    EXPECT_EQ("12345678", halves.GetProductName());

    // A key cut by the end of the window is not found.
    Install(std::string(29995, 'x') + "[=製品名=]name\r\n");
    ClSupportInfo cut(fs, memory, desktop);
    EXPECT_EQ("", cut.GetProductName());
}

TEST_F(SupportInfoTest, NoMemoryShowsTheMessageOnceAndGivesEmptyText) {
    Install("[=製品名=]name\r\n");
    reporttest::ExhaustedMemory exhausted;
    ClSupportInfo starved(fs, exhausted, desktop);
    EXPECT_EQ("", starved.GetProductName());
    EXPECT_EQ("", starved.GetProductVersion());
    ASSERT_EQ(1u, desktop.boxes.size());
    EXPECT_EQ("ﾒﾓﾘが不足しています。", desktop.boxes[0].text);
    EXPECT_EQ("事業概況書", desktop.boxes[0].caption);
    EXPECT_EQ(platform::kMbOk | platform::kMbIconExclamation, desktop.boxes[0].style);
}
