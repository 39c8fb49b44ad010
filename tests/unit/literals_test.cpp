// Japanese literals reach the program as code page 932 bytes.
#include <gtest/gtest.h>

#include <string>

namespace {
std::string Hex(const std::string& s) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}
} // namespace

TEST(Literals, AreShiftJis) {
    EXPECT_EQ("8E 96 8B C6 8A 54 8B B5 8F 91", Hex("事業概況書"));
    EXPECT_EQ("83 5C", Hex("ソ"));
    EXPECT_EQ("95 5C", Hex("表"));
    EXPECT_EQ("81 60", Hex("～"));
    // Escapes are processed before conversion: a 0x5C second byte never escapes anything.
    EXPECT_EQ("95 5C 5C 0A", Hex("表\\\n"));
}
