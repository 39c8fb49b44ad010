// The catalogue of the host's accounts: read once, then looked up by code and by key as the
// host's own walk and find would find them.
#include "aggregate/account_catalogue.h"

#include "support/fake_host.h"
#include "support/status_matchers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

// Account 12 with an identifier of its own, 1130 with a sub-account, 1160 hidden from keys by
// flag byte 110, 1170 and 1180 with other flag values.
class AccountCatalogueTest : public ::testing::Test {
  protected:
    AccountCatalogueTest() {
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
        EXPECT_TRUE(catalogue.Read(host).ok());
    }

    std::string KeyOfCode(std::int32_t code) {
        const StKAMOKUINFO* account = catalogue.FindByCode(code);
        EXPECT_NE(nullptr, account) << "code " << code;
        return account != nullptr ? MakeAccountKey(*account).str() : std::string();
    }
    std::int32_t CodeOfKey(const std::string& key) {
        const StKAMOKUINFO* account = catalogue.FindByKey(key);
        return account != nullptr ? account->code() : -1;
    }

    testsupport::FakeHost host;
    AccountCatalogue catalogue;
};

} // namespace

TEST_F(AccountCatalogueTest, HoldsEveryAccountInTheHostsOrderFromOneWalk) {
    ASSERT_EQ(host.accounts.size(), catalogue.accounts().size());
    for (std::size_t i = 0; i < host.accounts.size(); ++i)
        EXPECT_EQ(0, std::memcmp(host.accounts[i].bytes, catalogue.accounts()[i].bytes,
                                 sizeof host.accounts[i].bytes))
            << i;
    EXPECT_EQ(1, host.accountWalks);
    EXPECT_EQ(1, host.accountWalksEnded);
}

TEST_F(AccountCatalogueTest, ByCodeScalesAccountNumbers) {
    const StKAMOKUINFO* byNumber = catalogue.FindByCode(12);
    const StKAMOKUINFO* byCode = catalogue.FindByCode(120000);
    ASSERT_NE(nullptr, byNumber);
    EXPECT_EQ(byCode, byNumber);
    EXPECT_EQ(120000, byNumber->code());
    EXPECT_STREQ("0x000fa0ff0102030405060708090a0b0c", MakeAccountKey(*byNumber).text);

    const StKAMOKUINFO* sub = catalogue.FindByCode(11300001);
    ASSERT_NE(nullptr, sub);
    EXPECT_STREQ("第一銀行", sub->name());
    for (std::int32_t missing : {0, 13, 130000, -12, -300000, INT32_MIN})
        EXPECT_EQ(nullptr, catalogue.FindByCode(missing)) << missing;
}

TEST_F(AccountCatalogueTest, ByKeyFindsVisibleMainAccountsOnly) {
    EXPECT_EQ(120000, CodeOfKey(KeyOfCode(12)));
    EXPECT_EQ(11300000, CodeOfKey(KeyOfCode(1130)));
    // Only a flag byte 110 of exactly 1 hides an account from keys.
    EXPECT_EQ(11700000, CodeOfKey(KeyOfCode(1170)));
    EXPECT_EQ(11800000, CodeOfKey(KeyOfCode(1180)));
    EXPECT_EQ(-1, CodeOfKey(KeyOfCode(1160)));
    // A sub-account's code is not a multiple of 10000.
    EXPECT_EQ(-1, CodeOfKey(KeyOfCode(11300001)));
    EXPECT_EQ(-1, CodeOfKey("SISAN"));
    EXPECT_EQ(-1, CodeOfKey("0x00000000000000000000000000000000"));
    // Keys compare up to their NUL, over 35 bytes at most.
    EXPECT_EQ(120000, CodeOfKey(KeyOfCode(12) + std::string(1, '\0') + "tail"));
    EXPECT_EQ(-1, CodeOfKey(KeyOfCode(12).substr(0, 33)));
}

TEST_F(AccountCatalogueTest, TheFirstOfTwoAccountsWithOneCodeOrKeyIsFound) {
    host.accounts.push_back(testsupport::FakeHost::Account(9, 120000, "二番目"));
    host.accounts.push_back(host.accounts[1]);
    std::strcpy(host.accounts.back().nameField(), "同じ鍵");
    ASSERT_TRUE(catalogue.Read(host).ok());
    EXPECT_STREQ("小口現金", catalogue.FindByCode(12)->name());
    EXPECT_STREQ("普通預金", catalogue.FindByKey(KeyOfCode(1130))->name());
}

TEST_F(AccountCatalogueTest, ARefusingHostLeavesItEmptyWithTheHostsCause) {
    host.hasAccounts = false;
    EXPECT_EQ("host-refused step=ClDataMgr::GetSetObject code=0",
              platform::LogLine(catalogue.Read(host)));
    EXPECT_TRUE(catalogue.accounts().empty());
    EXPECT_EQ(nullptr, catalogue.FindByCode(12));

    host.hasAccounts = true;
    host.failCall = host.calls + 1;
    EXPECT_EQ("host-refused step=ForEachAccount code=7", platform::LogLine(catalogue.Read(host)));
    EXPECT_EQ(nullptr, catalogue.FindByKey(MakeAccountKey(host.accounts[0]).str()));
}
