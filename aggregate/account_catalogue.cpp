#include "aggregate/account_catalogue.h"

namespace {

// The account master's byte at offset 110: 1 marks an account that no key may find.
constexpr std::uint8_t kHiddenFromKeys = 1;

bool FindableByKey(const StKAMOKUINFO& account) {
    return IsMainAccountCode(account.code()) && account.hideFlag1() != kHiddenFromKeys;
}

} // namespace

platform::Status AccountCatalogue::Read(platform::Host& host) {
    accounts_.clear();
    keys_.clear();
    byKey_.clear();
    byCode_.clear();
    platform::Status read = host.ForEachAccount(nullptr, [this](const StKAMOKUINFO& account) {
        accounts_.push_back(account);
        return true;
    });
    if (!read.ok()) {
        accounts_.clear();
        return read;
    }
    // The keys live beside the accounts, so that the map's views of them stay valid.
    keys_.reserve(accounts_.size());
    for (const StKAMOKUINFO& account : accounts_)
        keys_.push_back(MakeAccountKey(account));
    byKey_.reserve(accounts_.size());
    byCode_.reserve(accounts_.size());
    for (std::size_t i = 0; i < accounts_.size(); ++i) {
        byCode_.emplace(accounts_[i].code(), i);
        if (FindableByKey(accounts_[i]))
            byKey_.emplace(ComparedKey(keys_[i].text), i);
    }
    return platform::Status();
}

const StKAMOKUINFO* AccountCatalogue::FindByKey(std::string_view key) const {
    const auto found = byKey_.find(ComparedKey(key));
    return found == byKey_.end() ? nullptr : &accounts_[found->second];
}

const StKAMOKUINFO* AccountCatalogue::FindByCode(std::int32_t code) const {
    const std::optional<std::int32_t> scaled = ScaledAccountCode(code);
    if (!scaled)
        return nullptr;
    const auto found = byCode_.find(*scaled);
    return found == byCode_.end() ? nullptr : &accounts_[found->second];
}
