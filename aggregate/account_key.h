// Keys that tie host accounts to statement lines: the account key made from a host account's
// identifier and the twelve source keys that take host totals.
#pragma once

#include "host/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Keys are compared over this many bytes: 34 characters and the terminating NUL.
constexpr std::size_t kMappingKeySize = 35;

// The text form of a host account's 16-byte identifier: "0x" and 32 lower-case hexadecimal
// digits, two per byte in storage order, high nibble first.
struct AccountKey {
    char text[kMappingKeySize];

    std::string str() const { return std::string(text); }
};

// The only way keys are made from host records, so that every maker's keys compare equal.
AccountKey MakeAccountKey(const unsigned char* accountId);
AccountKey MakeAccountKey(const StKAMOKUINFO& account);
AccountKey MakeAccountKey(const StKAMOKUSUMINFO& row);

// Bounded comparison of two keys over kMappingKeySize bytes (text up to the first NUL).
bool KeysEqual(const char* a, const char* b);
// The part of a key that KeysEqual compares: up to its first NUL, within kMappingKeySize bytes;
// two keys are equal when these are.
std::string_view ComparedKey(std::string_view key);

// The keys that give a line a host total instead of assigned accounts, in the order in which
// they are tested.
enum class SourceKey {
    kSales,               // URIAGEDAKA
    kCostOfSales,         // URIAGEGENKA
    kGrossMargin,         // URIAGESOURIEKI
    kOperatingResult,     // EIGYOUSONEKI
    kExtraordinaryGains,  // TOKUBETURIEKI
    kExtraordinaryLosses, // TOKUBETUSONSITU
    kResultBeforeTax,     // ZEIBIKIMAE
    kOtherAssets,         // SOREIGAI: total assets less lines 18 to 24
    kOtherLiabilities,    // SONOTAFUSAI: total liabilities less lines 26 to 29
    kCapital,             // SIHON
    kAssets,              // SISAN
    kLiabilities,         // FUSAI
    kNone,
};

constexpr int kSourceKeyCount = static_cast<int>(SourceKey::kNone);

// The source key that key names, or kNone.
SourceKey FindSourceKey(const char* key);

// A main account has a code that is a positive multiple of 10000; its number is code / 10000.
constexpr std::int32_t kMainAccountScale = 10000;
constexpr bool IsMainAccountCode(std::int32_t code) {
    return code > 0 && code % kMainAccountScale == 0;
}

// The account code that code names: a code below 10000 is an account number, scaled by
// kMainAccountScale. None when the number scales beyond the codes the host can hold.
constexpr std::optional<std::int32_t> ScaledAccountCode(std::int32_t code) {
    if (code >= kMainAccountScale)
        return code;
    const std::int64_t scaled = std::int64_t{code} * kMainAccountScale;
    if (scaled < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(scaled);
}
