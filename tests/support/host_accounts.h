// Lookups of a host's accounts as the program makes them (through its catalogue), for tests
// that name accounts by code or check keys.
#pragma once

#include "aggregate/account_catalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace testsupport {

// The account of host with the code (an account number below 10000 is scaled); a failure is
// added when there is none.
inline StKAMOKUINFO AccountWithCode(platform::Host& host, std::int32_t code) {
    AccountCatalogue catalogue;
    EXPECT_EQ("ok", platform::LogLine(catalogue.Read(host)));
    const StKAMOKUINFO* account = catalogue.FindByCode(code);
    EXPECT_NE(nullptr, account) << "account " << code;
    return account != nullptr ? *account : StKAMOKUINFO{};
}

inline std::string KeyOfCode(platform::Host& host, std::int32_t code) {
    return MakeAccountKey(AccountWithCode(host, code)).str();
}

// The code of host's visible main account with the key, or -1.
inline std::int32_t CodeOfKey(platform::Host& host, const std::string& key) {
    AccountCatalogue catalogue;
    EXPECT_EQ("ok", platform::LogLine(catalogue.Read(host)));
    const StKAMOKUINFO* account = catalogue.FindByKey(key);
    return account != nullptr ? account->code() : -1;
}

} // namespace testsupport
