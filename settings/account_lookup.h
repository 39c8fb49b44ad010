// The lookup of account codes for the default-mapping reader over the host's account master.
// Kept apart from the data-file readers so that a program without the host (the report checker)
// can use them.
#pragma once

#include "platform/host.h"
#include "settings/statement_files.h"

// The key of host's account with a code (a code below 10000 is an account number). The lookup
// holds host by reference.
AccountCodeLookup HostAccountCodes(platform::Host& host);
