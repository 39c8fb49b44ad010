// Fuzz target of the default-mapping file reader: any bytes either fail and leave the list
// alone, or give entries whose keys fit their field, one per reference at most.
#include "settings/statement_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Accounts with even codes exist; their key is a fixed account key.
const std::string kAccountKey = "0x000102030405060708090a0b0c0d0e0f";

bool LookUp(std::int32_t code, std::string& key) {
    if (code % 2 != 0)
        return false;
    key = kAccountKey;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MappingEntries entries;
    entries.push_back(std::make_unique<MappingEntry>());
    entries[0]->key = "BEFORE";
    if (!loadDefaultMappings(bytes, entries, LookUp)) {
        if (entries.size() != 1 || entries[0]->key != "BEFORE")
            std::abort();
        return 0;
    }
    const auto commas = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), ','));
    if (entries.size() > commas)
        std::abort();
    for (const auto& entry : entries) {
        if (entry->key.empty() || entry->key.size() > 34 ||
            entry->key.find('\0') != std::string::npos ||
            entry->key.find(',') != std::string::npos || entry->key.find('\n') != std::string::npos)
            std::abort();
    }
    return 0;
}
