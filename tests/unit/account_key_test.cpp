// Account keys, source keys, line ranges and the lookups of host accounts by key and by code.
#include "aggregate/account_key.h"

#include "aggregate/statement_line.h"
#include "support/fake_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Account 12 with an identifier of its own, 1130 with a sub-account, 1160 hidden from keys by
// flag byte 110, 1170 and 1180 with other flag values.
class AccountLookupTest : public ::testing::Test {
  protected:
    AccountLookupTest() {
        const unsigned char id12[StKAMOKUINFO::kIdSize] = {0x00, 0x0f, 0xa0, 0xff, 1, 2,  3,  4,
                                                           5,    6,    7,    8,    9, 10, 11, 12};
        host.accounts = {testsupport::FakeHost::Account(0, 120000, "小口現金"),
                         testsupport::FakeHost::Account(2, 11300000, "普通預金"),
                         testsupport::FakeHost::Account(3, 11300001, "第一銀行"),
                         testsupport::FakeHost::Account(4, 11600000, "売掛金"),
                         testsupport::FakeHost::Account(5, 11700000, "商品"),
                         testsupport::FakeHost::Account(6, 11800000, "貯蔵品")};
        host.accounts[0].set_accountId(id12);
        host.accounts[3].set_hideFlag1(1);
        host.accounts[4].set_hideFlag1(2);
        host.accounts[5].set_hideFlag2(1);
    }

    std::string KeyOfCode(std::int32_t code) {
        StKAMOKUINFO account{};
        EXPECT_TRUE(FindAccountByCode(host, code, account)) << "code " << code;
        return MakeAccountKey(account).str();
    }

    testsupport::FakeHost host;
};

} // namespace

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

TEST(SourceKey, TheTwelveKeysInTheirOrder) {
    const char* const expected[] = {"URIAGEDAKA",   "URIAGEGENKA",   "URIAGESOURIEKI",
                                    "EIGYOUSONEKI", "TOKUBETURIEKI", "TOKUBETUSONSITU",
                                    "ZEIBIKIMAE",   "SOREIGAI",      "SONOTAFUSAI",
                                    "SIHON",        "SISAN",         "FUSAI"};
    ASSERT_EQ(12, kSourceKeyCount);
    for (int i = 0; i < kSourceKeyCount; ++i) {
        EXPECT_STREQ(expected[i], SourceKeyText(static_cast<SourceKey>(i)));
        EXPECT_EQ(static_cast<SourceKey>(i), FindSourceKey(expected[i])) << expected[i];
    }
    for (const char* other : {"uriagedaka", "URIAGEDAKA ", "URIAGE", "", "SISANX",
                              "0x000fa0ff123456789abcdef001107f80"})
        EXPECT_EQ(SourceKey::kNone, FindSourceKey(other)) << "'" << other << "'";
}

TEST(LineRanges, Line36BelongsToTheMainAccountsOnlyInTheNewerForm) {
    EXPECT_TRUE(IsMainAccountLine(35, false));
    EXPECT_FALSE(IsMainAccountLine(36, false));
    EXPECT_TRUE(IsMainAccountLine(36, true));
    EXPECT_FALSE(IsMainAccountLine(37, true));
    EXPECT_EQ(36, FirstMonthlyLine(false));
    EXPECT_EQ(37, FirstMonthlyLine(true));
}

TEST_F(AccountLookupTest, ByCodeScalesAccountNumbers) {
    StKAMOKUINFO byNumber{};
    StKAMOKUINFO byCode{};
    ASSERT_TRUE(FindAccountByCode(host, 12, byNumber));
    ASSERT_TRUE(FindAccountByCode(host, 120000, byCode));
    EXPECT_EQ(120000, byNumber.code());
    EXPECT_EQ(0, std::memcmp(byNumber.bytes, byCode.bytes, sizeof byCode.bytes));
    EXPECT_STREQ("0x000fa0ff0102030405060708090a0b0c", MakeAccountKey(byNumber).text);

    StKAMOKUINFO sub{};
    EXPECT_TRUE(FindAccountByCode(host, 11300001, sub));
    EXPECT_EQ(11300001, sub.code());
    StKAMOKUINFO none{};
    for (std::int32_t missing : {0, 13, 130000, -12, -300000, INT32_MIN})
        EXPECT_FALSE(FindAccountByCode(host, missing, none)) << missing;
}

TEST_F(AccountLookupTest, ByKeyFindsVisibleMainAccountsOnly) {
    StKAMOKUINFO found{};
    EXPECT_EQ(120000, FindAccountByKey(host, KeyOfCode(12).c_str(), &found));
    EXPECT_EQ(120000, found.code());
    EXPECT_EQ(11300000, FindAccountByKey(host, KeyOfCode(1130).c_str()));
    // Only a flag byte 110 of exactly 1 hides an account from keys.
    EXPECT_EQ(11700000, FindAccountByKey(host, KeyOfCode(1170).c_str()));
    EXPECT_EQ(11800000, FindAccountByKey(host, KeyOfCode(1180).c_str()));
    EXPECT_EQ(-1, FindAccountByKey(host, KeyOfCode(1160).c_str()));
    // A sub-account's code is not a multiple of 10000.
    EXPECT_EQ(-1, FindAccountByKey(host, KeyOfCode(11300001).c_str()));
    EXPECT_EQ(-1, FindAccountByKey(host, "SISAN"));
    EXPECT_EQ(-1, FindAccountByKey(host, "0x00000000000000000000000000000000"));
}

TEST(AccountLookupInMemory, LookupsEndTheirWalksAndAHostWithoutAccountsFindsNone) {
    testsupport::FakeHost host;
    host.accounts = {testsupport::FakeHost::Account(1, 10000, "A"),
                     testsupport::FakeHost::Account(2, 20000, "B"),
                     testsupport::FakeHost::Account(3, 20001, "B sub")};
    StKAMOKUINFO found{};
    ASSERT_TRUE(FindAccountByCode(host, 2, found));
    EXPECT_EQ(20000, found.code());
    ASSERT_TRUE(FindAccountByCode(host, 20001, found));
    EXPECT_STREQ("B sub", found.name());
    EXPECT_EQ(10000, FindAccountByKey(host, MakeAccountKey(host.accounts[0]).text));
    EXPECT_EQ(-1, FindAccountByKey(host, MakeAccountKey(host.accounts[2]).text));
    EXPECT_EQ(4, host.accountWalks);
    EXPECT_EQ(0, host.openAccountWalks);

    host.hasAccounts = false;
    EXPECT_FALSE(FindAccountByCode(host, 2, found));
    EXPECT_EQ(-1, FindAccountByKey(host, MakeAccountKey(host.accounts[0]).text));
    AccountMasterCursor cursor(host);
    EXPECT_FALSE(cursor.Walk(found));
}
