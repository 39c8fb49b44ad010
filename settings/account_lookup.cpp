#include "settings/account_lookup.h"

AccountCodeLookup CatalogueAccountCodes(const AccountCatalogue& accounts) {
    return [&accounts](std::int32_t code, std::string& key) {
        const StKAMOKUINFO* account = accounts.FindByCode(code);
        if (account == nullptr)
            return false;
        key = MakeAccountKey(*account).str();
        return true;
    };
}
