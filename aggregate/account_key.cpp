#include "aggregate/account_key.h"

#include <array>
#include <cstring>

namespace {

const char* const kSourceKeyTexts[kSourceKeyCount] = {
    "URIAGEDAKA",    "URIAGEGENKA",     "URIAGESOURIEKI", "EIGYOUSONEKI",
    "TOKUBETURIEKI", "TOKUBETUSONSITU", "ZEIBIKIMAE",     "SOREIGAI",
    "SONOTAFUSAI",   "SIHON",           "SISAN",          "FUSAI",
};

// The two lower-case hexadecimal digits of every byte value, high nibble first.
constexpr auto kDigitPairs = [] {
    constexpr char digits[] = "0123456789abcdef";
    std::array<std::array<char, 2>, 256> pairs{};
    for (std::size_t b = 0; b < pairs.size(); ++b)
        pairs[b] = {digits[b >> 4], digits[b & 0x0F]};
    return pairs;
}();

// The account master's byte at offset 110: 1 marks an account that no key may find.
constexpr std::uint8_t kHiddenFromKeys = 1;

} // namespace

AccountMasterCursor::AccountMasterCursor(platform::Host& host) : walk_(host.OpenAccountMaster()) {}

bool AccountMasterCursor::Walk(StKAMOKUINFO& account) {
    return walk_ != nullptr && walk_->Walk(&account) == 0;
}

bool AccountMasterCursor::WalkFind(const StFINDINFO* terms, StKAMOKUINFO& account) {
    return walk_ != nullptr && walk_->WalkFind(terms, &account) == 0;
}

AccountKey MakeAccountKey(const unsigned char* accountId) {
    AccountKey key;
    key.text[0] = '0';
    key.text[1] = 'x';
    for (std::size_t i = 0; i < StKAMOKUINFO::kIdSize; ++i)
        std::memcpy(key.text + 2 + 2 * i, kDigitPairs[accountId[i]].data(), 2);
    key.text[kMappingKeySize - 1] = '\0';
    return key;
}

AccountKey MakeAccountKey(const StKAMOKUINFO& account) {
    return MakeAccountKey(account.accountId());
}

AccountKey MakeAccountKey(const StKAMOKUSUMINFO& row) {
    return MakeAccountKey(row.accountId());
}

bool KeysEqual(const char* a, const char* b) {
    return std::strncmp(a, b, kMappingKeySize) == 0;
}

const char* SourceKeyText(SourceKey key) {
    return key == SourceKey::kNone ? "" : kSourceKeyTexts[static_cast<int>(key)];
}

SourceKey FindSourceKey(const char* key) {
    for (int i = 0; i < kSourceKeyCount; ++i) {
        if (KeysEqual(key, kSourceKeyTexts[i]))
            return static_cast<SourceKey>(i);
    }
    return SourceKey::kNone;
}

std::int32_t FindAccountByKey(platform::Host& host, const char* key, StKAMOKUINFO* account) {
    AccountMasterCursor cursor(host);
    StKAMOKUINFO record{};
    while (cursor.Walk(record)) {
        if (!IsMainAccountCode(record.code()) || record.hideFlag1() == kHiddenFromKeys)
            continue;
        if (KeysEqual(MakeAccountKey(record).text, key)) {
            if (account != nullptr)
                *account = record;
            return record.code();
        }
    }
    return -1;
}

bool FindAccountByCode(platform::Host& host, std::int32_t code, StKAMOKUINFO& account) {
    const std::int64_t scaled =
        code < kMainAccountScale ? std::int64_t{code} * kMainAccountScale : code;
    // A negative account number scales beyond the codes the host can hold: no such account.
    if (scaled < INT32_MIN)
        return false;
    StFINDINFO term{};
    term.set_field(StFINDINFO::kAccountCode);
    term.set_op(StFINDINFO::kEqual);
    term.set_valueType(StFINDINFO::kInt32);
    term.set_value32(static_cast<std::int32_t>(scaled));
    term.set_link(StFINDINFO::kNone);
    AccountMasterCursor cursor(host);
    return cursor.WalkFind(&term, account);
}
