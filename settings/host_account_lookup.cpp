// The default lookup of the default-mapping reader: the host's own account set. Kept apart from
// the data-file readers so that a program without the host (the report checker) can use them.
#include "aggregate/account_key.h"
#include "settings/statement_files.h"

bool LookUpHostAccount(std::int32_t code, std::string& key) {
    StKAMOKUINFO account{};
    if (!FindAccountByCode(code, account))
        return false;
    key = MakeAccountKey(account).str();
    return true;
}
