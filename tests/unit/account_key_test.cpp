// Account keys, source keys and line ranges.
#include "aggregate/account_key.h"

#include "aggregate/statement_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

TEST(AccountKey, IsTheIdentifierInLowerCaseHexadecimal) {
    StKAMOKUSUMINFO row{};
    const unsigned char id[16] = {0x00, 0x0F, 0xA0, 0xFF, 0x12, 0x34, 0x56, 0x78,
                                  0x9A, 0xBC, 0xDE, 0xF0, 0x01, 0x10, 0x7F, 0x80};
    row.set_accountId(id);
    const AccountKey key = MakeAccountKey(row);
    EXPECT_STREQ("0x000fa0ff123456789abcdef001107f80", key.text);
    EXPECT_EQ(34u, std::strlen(key.text));

    StKAMOKUINFO account{};
    account.set_accountId(id);
    EXPECT_EQ(key.str(), MakeAccountKey(account).str());
}

TEST(AccountKey, ComparedOver35Bytes) {
    const std::string key = "0x000fa0ff123456789abcdef001107f80";
    EXPECT_TRUE(KeysEqual(key.c_str(), "0x000fa0ff123456789abcdef001107f80"));
    EXPECT_FALSE(KeysEqual(key.c_str(), "0x000fa0ff123456789abcdef001107f81"));
    EXPECT_FALSE(KeysEqual(key.c_str(), "0x000fa0ff123456789abcdef001107f8"));
    EXPECT_FALSE(KeysEqual(key.c_str(), (key + "0").c_str()));
    // Beyond 35 bytes nothing is compared.
    const std::string long1 = std::string(35, 'A') + "1";
    const std::string long2 = std::string(35, 'A') + "2";
    EXPECT_TRUE(KeysEqual(long1.c_str(), long2.c_str()));
}

TEST(AccountCode, NumbersBelow10000AreScaledWithinTheHostsCodes) {
    EXPECT_EQ(std::optional<std::int32_t>(120000), ScaledAccountCode(12));
    EXPECT_EQ(std::optional<std::int32_t>(99990000), ScaledAccountCode(9999));
    EXPECT_EQ(std::optional<std::int32_t>(10000), ScaledAccountCode(10000));
    EXPECT_EQ(std::optional<std::int32_t>(11300001), ScaledAccountCode(11300001));
    EXPECT_EQ(std::optional<std::int32_t>(INT32_MAX), ScaledAccountCode(INT32_MAX));
    EXPECT_EQ(std::optional<std::int32_t>(0), ScaledAccountCode(0));
    EXPECT_EQ(std::optional<std::int32_t>(-2147480000), ScaledAccountCode(-214748));
    EXPECT_EQ(std::nullopt, ScaledAccountCode(-214749)) << "below the least code";
    EXPECT_EQ(std::nullopt, ScaledAccountCode(INT32_MIN));
}

TEST(SourceKey, TheTwelveKeysInTheirOrder) {
    const char* const expected[] = {"URIAGEDAKA",   "URIAGEGENKA",   "URIAGESOURIEKI",
                                    "EIGYOUSONEKI", "TOKUBETURIEKI", "TOKUBETUSONSITU",
                                    "ZEIBIKIMAE",   "SOREIGAI",      "SONOTAFUSAI",
                                    "SIHON",        "SISAN",         "FUSAI"};
    ASSERT_EQ(12, kSourceKeyCount);
    for (int i = 0; i < kSourceKeyCount; ++i) {
        EXPECT_EQ(static_cast<SourceKey>(i), FindSourceKey(expected[i])) << expected[i];
    }
    for (const char* other : {"uriagedaka", "URIAGEDAKA ", "URIAGE", "", "SISANX",
                              "0x000fa0ff123456789abcdef001107f80"})
        EXPECT_EQ(SourceKey::kNone, FindSourceKey(other)) << "'" << other << "'";
}

TEST(LineRanges, Line36BelongsToTheMainAccountsOnlyInTheNewerForm) {
    EXPECT_TRUE(IsMainAccountLine(35, FormGeneration::k16));
    EXPECT_FALSE(IsMainAccountLine(36, FormGeneration::k16));
    EXPECT_TRUE(IsMainAccountLine(36, FormGeneration::k30));
    EXPECT_FALSE(IsMainAccountLine(37, FormGeneration::k30));
    EXPECT_EQ(36, FirstMonthlyLine(FormGeneration::k16));
    EXPECT_EQ(37, FirstMonthlyLine(FormGeneration::k30));
}
