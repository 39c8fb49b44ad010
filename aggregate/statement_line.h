// The statement lines and the mapping entries that feed them; both lists belong to the
// application object and are walked front to back by everyone else.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct StatementLine {
    static constexpr int kKindCodes = 10;
    static constexpr int kAmounts = 13;

    std::int16_t lineNo = 0;
    // Normal side: a host account of the same side adds to the line, any other subtracts.
    std::int16_t side = 0;
    // Display name, Shift_JIS.
    std::string name;
    // Kind codes of the accounts that may be assigned; 0 entries are unused.
    std::array<std::uint32_t, kKindCodes> kindCodes{};
    // XML element name; a tag containing '-' marks a placeholder line that is never written.
    std::string tag;
    // Ten-thousandths of a yen: slot 0 for a main-account line, slots 1..12 for the fiscal
    // months of a monthly line.
    std::array<std::int64_t, kAmounts> amounts{};
};

struct MappingEntry {
    std::int16_t lineNo = 0;
    // An account key ("0x" + 32 hex digits) or a source key, at most 34 characters.
    std::string key;
};

// The generation of the statement's form: "16", the older, or "30", the newer. It chooses the
// line numbers, the data files, the settings file and the layout of the report.
enum class FormGeneration { k16, k30 };

// The form generation of a period: the newer one ("30") for a period ending on 20180401 or later
// (dates as YYYYMMDD numbers), else the older one ("16").
constexpr FormGeneration FormGenerationOf(std::int32_t periodEnd) {
    return periodEnd >= 20180401 ? FormGeneration::k30 : FormGeneration::k16;
}
[[nodiscard]] constexpr FormGeneration OtherGeneration(FormGeneration form) {
    return form == FormGeneration::k30 ? FormGeneration::k16 : FormGeneration::k30;
}

// Line numbers: main-account lines come first (one value in amounts slot 0), monthly lines
// from the first monthly line on. The newer form generation has one main-account line more.
constexpr std::int16_t FirstMonthlyLine(FormGeneration form) {
    return form == FormGeneration::k30 ? 37 : 36;
}
[[nodiscard]] constexpr bool IsMainAccountLine(std::int16_t lineNo, FormGeneration form) {
    return lineNo < FirstMonthlyLine(form);
}
// Asset lines that "SOREIGAI" subtracts from total assets, and liability lines that
// "SONOTAFUSAI" subtracts from total liabilities (the same numbers in both generations).
constexpr std::int16_t kOtherAssetsFirstLine = 18;
constexpr std::int16_t kOtherAssetsLastLine = 24;
constexpr std::int16_t kOtherLiabilitiesFirstLine = 26;
constexpr std::int16_t kOtherLiabilitiesLastLine = 29;

// A tag containing '-' marks a placeholder line: it is never written.
[[nodiscard]] inline bool IsPlaceholderTag(std::string_view tag) {
    return tag.find('-') != std::string_view::npos;
}

using StatementLines = std::vector<std::unique_ptr<StatementLine>>;
using MappingEntries = std::vector<std::unique_ptr<MappingEntry>>;
