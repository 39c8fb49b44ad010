// Fuzz target of the settings file reader: any bytes either fail or give values within their
// limits, and what the writer makes of them reads back to the same file.
#include "settings/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Reads text into fresh conditions; returns whether the read succeeded.
bool Read(const std::string& text, AggregationConditions& conditions) {
    conditions.userId = "fuzz";
    return ReadSettingsText(text, conditions);
}

void CheckLimits(const AggregationConditions& conditions) {
    if (conditions.reserved != 0 ||
        conditions.savedOutputPath.size() >= AggregationConditions::kSavedOutputPathSize ||
        conditions.savedOutputPath.find_first_of(std::string("\n\0", 2)) != std::string::npos ||
        conditions.outputPath != conditions.savedOutputPath)
        std::abort();
    for (const auto& entry : *conditions.mappings) {
        if (entry->key.size() > 34 ||
            entry->key.find_first_of(std::string("\n\0", 2)) != std::string::npos)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    MappingEntries mappings;
    AggregationConditions first;
    first.mappings = &mappings;
    const bool read = Read(text, first);
    CheckLimits(first);
    if (!read)
        return 0;

    const std::string written = SettingsText(first);
    MappingEntries again;
    AggregationConditions second;
    second.mappings = &again;
    if (!Read(written, second))
        std::abort();
    CheckLimits(second);
    if (SettingsText(second) != written || second.endMonth != first.endMonth ||
        second.taxIncluded != first.taxIncluded)
        std::abort();
    return 0;
}
