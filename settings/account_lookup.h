// The lookup of account codes for the default-mapping reader over the host's account master, as
// the run's catalogue holds it. Kept apart from the data-file readers so that a program without
// the host (the report checker) can use them.
#pragma once

#include "aggregate/account_catalogue.h"
#include "settings/statement_files.h"

// The key of the catalogue's account with a code (a code below 10000 is an account number). The
// lookup holds the catalogue by reference.
AccountCodeLookup CatalogueAccountCodes(const AccountCatalogue& accounts);
