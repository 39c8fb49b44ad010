// Japanese literals reach the program as code page 932 bytes.
#include "support/hex_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {} // namespace

TEST(Literals, AreShiftJis) {
    EXPECT_EQ("8E 96 8B C6 8A 54 8B B5 8F 91", testsupport::HexBytes("事業概況書"));
    EXPECT_EQ("83 5C", testsupport::HexBytes("ソ"));
    EXPECT_EQ("95 5C", testsupport::HexBytes("表"));
    EXPECT_EQ("81 60", testsupport::HexBytes("～"));
    // Escapes are processed before conversion: a 0x5C second byte never escapes anything.
    EXPECT_EQ("95 5C 5C 0A", testsupport::HexBytes("表\\\n"));
}
