// The host's account master as the program looks it up: read once per run, then found by key
// (the mappings) and by code (the default mappings and the mapping dialog's rows) without asking
// the host again.
#pragma once

#include "aggregate/account_key.h"
#include "host/records.h"
#include "platform/host.h"
#include "platform/status.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

class AccountCatalogue {
  public:
    // Reads every account of host's account master, in the host's order. On a refusal of the
    // host the catalogue is empty and the host's status comes back.
    [[nodiscard]] platform::Status Read(platform::Host& host);

    // Every account, in the host's order.
    const std::vector<StKAMOKUINFO>& accounts() const { return accounts_; }
    // The first main account whose key equals key and that the host does not hide from keys;
    // null when there is none.
    const StKAMOKUINFO* FindByKey(std::string_view key) const;
    // The first account with the code; a code below 10000 is an account number and is scaled
    // first. Null when there is none.
    const StKAMOKUINFO* FindByCode(std::int32_t code) const;

  private:
    std::vector<StKAMOKUINFO> accounts_;
    // Keys of accounts_ (text without the NUL) and codes, to their first index.
    std::vector<AccountKey> keys_;
    std::unordered_map<std::string_view, std::size_t> byKey_;
    std::unordered_map<std::int32_t, std::size_t> byCode_;
};
