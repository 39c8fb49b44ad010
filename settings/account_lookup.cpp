#include "settings/host_account_lookup.h"

#include "aggregate/account_key.h"

AccountCodeLookup HostAccountCodes(platform::Host& host) {
    return [&host](std::int32_t code, std::string& key) {
        StKAMOKUINFO account{};
        if (!FindAccountByCode(host, code, account))
            return false;
        key = MakeAccountKey(account).str();
        return true;
    };
}
