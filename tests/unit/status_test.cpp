// The cause of a failure and its detail, and the one line of ASCII that a log gets of it.
#include "platform/status.h"

#include <gtest/gtest.h>

#include <string>

using platform::Cause;
using platform::LogLine;
using platform::Status;

TEST(Status, SuccessIsTheDefaultAndSaysOk) {
    const Status status;
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(Cause::kNone, status.cause());
    EXPECT_EQ("ok", LogLine(status));
}

TEST(Status, EachCauseKeepsItsDetail) {
    const Status host = Status::HostRefused("MoveNext", -12);
    EXPECT_FALSE(host.ok());
    EXPECT_EQ(Cause::kHostRefused, host.cause());
    EXPECT_EQ(-12, host.code());
    EXPECT_EQ("host-refused step=MoveNext code=-12", LogLine(host));
    // A host that answers with no object has no code: 0 still says which call.
    EXPECT_EQ("host-refused step=GetSetObject code=0",
              LogLine(Status::HostRefused("GetSetObject", 0)));

    EXPECT_EQ("no-data step=selected-data value=7", LogLine(Status::NoData("selected-data", 7)));
    EXPECT_EQ("no-data step=selected-data", LogLine(Status::NoData("selected-data")));
    EXPECT_EQ("range-refused step=request-to-month value=0",
              LogLine(Status::RangeRefused("request-to-month", 0)));
    EXPECT_EQ("overflow step=row-balance", LogLine(Status::Overflow("row-balance")));
    EXPECT_EQ("out-of-memory step=Aggregate", LogLine(Status::OutOfMemory("Aggregate")));

    const Status io = Status::Io("write-xml", 112, "C:\\out\\a.xml");
    EXPECT_EQ(Cause::kIo, io.cause());
    EXPECT_EQ(112, io.code());
    EXPECT_EQ("C:\\out\\a.xml", io.file());
    // Backslashes are doubled, so that an escaped byte and a separator never look alike.
    EXPECT_EQ("io step=write-xml error=112 file=C:\\\\out\\\\a.xml", LogLine(io));

    const Status bad = Status::BadFile("read-back", "C:\\out\\a.xml", "offset 40");
    EXPECT_EQ(Cause::kBadFile, bad.cause());
    EXPECT_EQ("offset 40", bad.place());
    EXPECT_EQ("bad-file step=read-back file=C:\\\\out\\\\a.xml place=offset 40", LogLine(bad));
}

TEST(Status, TheLogLineIsPrintableAsciiWhateverTheNamesHold) {
    // 出 is 8F 6F ("o"), 力 97 CD, 表 95 5C and ソ 83 5C: a second byte in the ASCII range is
    // written as the character it is, a backslash among them doubled like any other.
    const Status status = Status::Io("create-temporary", 3, "C:\\出力\\表\\ソ.xml");
    EXPECT_EQ("io step=create-temporary error=3 "
              "file=C:\\\\\\x8Fo\\x97\\xCD\\\\\\x95\\\\\\\\\\x83\\\\.xml",
              LogLine(status));
    // Line ends, tabs and control bytes of a place cannot break the line.
    const std::string line = LogLine(Status::BadFile("read-back", "a\r\nb", "x\ty\x7F"));
    EXPECT_EQ("bad-file step=read-back file=a\\x0D\\x0Ab place=x\\x09y\\x7F", line);
    for (const char c : line)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << static_cast<int>(c);
}
