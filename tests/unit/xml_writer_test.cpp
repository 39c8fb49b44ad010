// The XML writer: line forms, escaping, text of any length and the behaviour after a failure.
#include "platform/xml_name.h"
#include "report/xml_writer.h"

#include "report_test_support.h"
#include "support/memory_filesystem.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <string>

using testsupport::MemoryFileSystem;

namespace {

const char kPath[] = "C:\\Out\\a.xml";

class XmlWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs.AddStandardMachine();
        fs.AddFolder("C:\\Out");
    }
    std::string Written() const { return fs.FileBytes(kPath); }

    MemoryFileSystem fs;
    ClXmlWriter xml;
    std::string line;
};

} // namespace

TEST_F(XmlWriterTest, WritesTheLineFormsWithTabsAndCrLf) {
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteText("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"));
    EXPECT_OK(xml.WriteStartTag(line, "REPORT", 0));
    EXPECT_OK(xml.WriteStartTag(line, "S", 1, "a", "1", "b", "2"));
    EXPECT_OK(xml.WriteElement(line, "E", "v", 2, "a", "x"));
    EXPECT_OK(xml.WriteElement(line, "N", "", 4));
    EXPECT_OK(xml.WriteEndTag(line, "S", 1));
    EXPECT_OK(xml.WriteEndTag(line, "REPORT", 0));
    EXPECT_OK(xml.CloseFile());
    EXPECT_OK(xml.status());
    const std::string document = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
                                 "<REPORT>\r\n"
                                 "\t<S a=\"1\" b=\"2\">\r\n"
                                 "\t\t<E a=\"x\">v</E>\r\n"
                                 "\t\t\t\t<N></N>\r\n"
                                 "\t</S>\r\n"
                                 "</REPORT>\r\n";
    EXPECT_EQ(document, Written());
    EXPECT_EQ("", reporttest::XmllintErrors(Written()));
}

TEST_F(XmlWriterTest, AttributesNeedNameAndValueAndTheSecondComesOnlyAfterAFirst) {
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteStartTag(line, "A", 0, "n", nullptr, "m", "2"));
    EXPECT_OK(xml.WriteStartTag(line, "B", 0, nullptr, "1", "m", "2"));
    EXPECT_OK(xml.WriteStartTag(line, "C", 0, "n", "1", "m", nullptr));
    EXPECT_OK(xml.WriteElement(line, "D", "t", 0, nullptr, nullptr, "m", "2"));
    EXPECT_OK(xml.WriteElement(line, "E", "t", 0, "n", "<&>", "m", "'\""));
    EXPECT_OK(xml.CloseFile());
    EXPECT_EQ("<A>\r\n<B>\r\n<C n=\"1\">\r\n<D>t</D>\r\n"
              "<E n=\"&lt;&amp;&gt;\" m=\"&apos;&quot;\">t</E>\r\n",
              Written());
}

TEST_F(XmlWriterTest, EscapesTheFiveCharactersByteByByteAndEntitiesAgain) {
    EXPECT_EQ("a&lt;b&amp;c&apos;d&gt;e&quot;", xml.EscapeText("a<b&c'd>e\""));
    EXPECT_EQ("&amp;amp;&amp;lt;", xml.EscapeText("&amp;&lt;"));
    EXPECT_EQ("", xml.EscapeText(""));
    // Second bytes in the ASCII range pass unchanged: ア 83 41, ソ 83 5C, ポ 83 7C, ゼ 83 5B.
    EXPECT_EQ("アソポゼ表&amp;", xml.EscapeText("アソポゼ表&"));
}

TEST_F(XmlWriterTest, TextHoldsOnlyShiftJisCharacters) {
    // Control characters other than tab, CR and LF are dropped; DEL too.
    EXPECT_EQ("ab\tc\r\nd", xml.EscapeText("a\x01"
                                           "b\tc\r\n\x1F\x7F"
                                           "d"));
    // Half-width katakana stay; 0x80, 0xA0 and 0xFD to 0xFF are no characters.
    EXPECT_EQ("ｱｲﾟ", xml.EscapeText("\x80ｱ\xA0ｲ\xFD\xFE\xFFﾟ"));
    // A lead byte without its second byte is dropped, at the end or before a byte that cannot
    // follow it, which stays a character of its own.
    EXPECT_EQ("AB", xml.EscapeText("AB\x81"));
    EXPECT_EQ("A&lt;B", xml.EscapeText("A\x81<B"));
    EXPECT_EQ("?表\n", xml.EscapeText("\xE0\x3F表\x81\n"));
    EXPECT_EQ("?", xml.EscapeText("\xE0?"));

    // A file written with such text is read by a real parser.
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteText("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"));
    EXPECT_OK(xml.WriteElement(line, "E", "a\x01表\x81", 0, "n", "\x02\x9F"));
    EXPECT_OK(xml.CloseFile());
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<E n=\"\">a表</E>\r\n", Written());
    EXPECT_EQ("", reporttest::XmllintErrors(Written()));
}

TEST(XmlElementName, ALetterOrUnderscoreFirst) {
    for (const char* name : {"A", "_", "URIAGEDAKA", "_1", "a.b-c_9", "TUKIBETU_01"})
        EXPECT_TRUE(platform::IsXmlElementName(name)) << name;
    for (const char* name : {"", "1URIAGEDAKA", ".A", "-A", "A B", "A<B", "A/B", "A:B", "売上"})
        EXPECT_FALSE(platform::IsXmlElementName(name)) << name;
}

TEST_F(XmlWriterTest, ContentLongerThanTheFixedBuffersIsWrittenWhole) {
    // 300 ampersands escape to 1500 bytes; a double-byte character straddles byte 255 of the
    // value and of the escaped text.
    const std::string ampersands(300, '&');
    const std::string straddling = std::string(255, 'x') + "表" + std::string(100, 'y');
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteElement(line, "A", ampersands.c_str(), 1));
    EXPECT_OK(xml.WriteElement(line, "B", straddling.c_str(), 1));
    const std::string longName(400, 'N');
    EXPECT_OK(xml.WriteEndTag(line, longName.c_str(), 0));
    EXPECT_OK(xml.CloseFile());
    std::string expected = "\t<A>";
    for (int i = 0; i < 300; ++i)
        expected += "&amp;";
    expected += "</A>\r\n\t<B>" + straddling + "</B>\r\n</" + longName + ">\r\n";
    EXPECT_EQ(expected, Written());
}

TEST_F(XmlWriterTest, AFailedWriteClosesTheFileSoLaterWritesFailToo) {
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteStartTag(line, "R", 0));
    fs.FailNth(1);
    const std::string failed = "io step=write-xml error=112 file=C:\\\\Out\\\\a.xml";
    EXPECT_EQ(failed, LogLine(xml.WriteElement(line, "E", "v", 1)));
    EXPECT_EQ(failed, LogLine(xml.status()));
    // The file is closed: nothing more reaches it, even with the fault gone, and every later
    // call answers with the first failure.
    fs.ClearFaults();
    EXPECT_EQ(failed, LogLine(xml.WriteEndTag(line, "R", 0)));
    EXPECT_EQ(0, fs.CountedOperations());
    EXPECT_EQ(failed, LogLine(xml.CloseFile()));
    EXPECT_EQ(failed, LogLine(xml.CloseFile()));
    EXPECT_EQ(failed, LogLine(xml.status()));
}

TEST_F(XmlWriterTest, AFailedCloseCountsAsAFailedWrite) {
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteStartTag(line, "R", 0));
    fs.SetFaultError(MemoryFileSystem::kErrorAccessDenied);
    fs.FailNth(1);
    EXPECT_EQ("io step=close-xml error=5 file=C:\\\\Out\\\\a.xml", LogLine(xml.CloseFile()));
    EXPECT_TRUE(fs.FaultFired());
    EXPECT_EQ(platform::Cause::kIo, xml.status().cause());
}

TEST_F(XmlWriterTest, AFileThatDidNotOpenFailsEveryWrite) {
    EXPECT_EQ("no-data step=open-xml-path", LogLine(xml.OpenFile(fs, nullptr)));
    EXPECT_EQ("no-data step=open-xml-path", LogLine(xml.OpenFile(fs, "")));
    const std::string missing = "io step=open-xml error=3 file=C:\\\\Missing\\\\a.xml";
    EXPECT_EQ(missing, LogLine(xml.OpenFile(fs, "C:\\Missing\\a.xml")));
    EXPECT_EQ(missing, LogLine(xml.WriteText("x")));
    EXPECT_EQ(missing, LogLine(xml.WriteStartTag(line, "R", 0)));
    EXPECT_EQ(missing, LogLine(xml.CloseFile()));
    EXPECT_EQ(missing, LogLine(xml.status()));
    EXPECT_FALSE(fs.Exists("C:\\Missing"));
}

TEST_F(XmlWriterTest, WritesAfterTheFileIsClosedFail) {
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteStartTag(line, "R", 0));
    EXPECT_OK(xml.CloseFile());
    EXPECT_EQ("io step=write-xml-not-open error=0 file=C:\\\\Out\\\\a.xml",
              LogLine(xml.WriteEndTag(line, "R", 0)));
    EXPECT_EQ("<R>\r\n", Written());
    // Reopened, the writer starts afresh.
    ASSERT_OK(xml.OpenFile(fs, kPath));
    EXPECT_OK(xml.WriteEndTag(line, "R", 0));
    EXPECT_OK(xml.CloseFile());
    EXPECT_EQ("</R>\r\n", Written());
}
