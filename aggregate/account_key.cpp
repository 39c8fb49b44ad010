#include "aggregate/account_key.h"

#include <array>
#include <cstring>

namespace {

constexpr std::string_view kSourceKeyTexts[kSourceKeyCount] = {
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

// The part of a C string key that is compared, read no further than the bytes compared.
std::string_view ComparedText(const char* key) {
    return ComparedKey(std::string_view(key, strnlen(key, kMappingKeySize)));
}

} // namespace

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

std::string_view ComparedKey(std::string_view key) {
    key = key.substr(0, kMappingKeySize);
    return key.substr(0, key.find('\0'));
}

bool KeysEqual(const char* a, const char* b) {
    return ComparedText(a) == ComparedText(b);
}

SourceKey FindSourceKey(const char* key) {
    const std::string_view compared = ComparedText(key);
    for (int i = 0; i < kSourceKeyCount; ++i) {
        if (compared == kSourceKeyTexts[i])
            return static_cast<SourceKey>(i);
    }
    return SourceKey::kNone;
}
