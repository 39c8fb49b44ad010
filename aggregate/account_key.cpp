#include "aggregate/account_key.h"

#include <cstring>

namespace {

const char* const kSourceKeyTexts[kSourceKeyCount] = {
    "URIAGEDAKA",    "URIAGEGENKA",     "URIAGESOURIEKI", "EIGYOUSONEKI",
    "TOKUBETURIEKI", "TOKUBETUSONSITU", "ZEIBIKIMAE",     "SOREIGAI",
    "SONOTAFUSAI",   "SIHON",           "SISAN",          "FUSAI",
};

} // namespace

AccountKey MakeAccountKey(const unsigned char* accountId) {
    static const char digits[] = "0123456789abcdef";
    AccountKey key{};
    key.text[0] = '0';
    key.text[1] = 'x';
    for (std::size_t i = 0; i < StKAMOKUINFO::kIdSize; ++i) {
        key.text[2 + 2 * i] = digits[accountId[i] >> 4];
        key.text[3 + 2 * i] = digits[accountId[i] & 0x0F];
    }
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

std::string_view ComparedKey(std::string_view key) {
    key = key.substr(0, kMappingKeySize);
    return key.substr(0, key.find('\0'));
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
