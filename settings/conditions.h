// The aggregation conditions: everything the user decides about one run, held by the
// condition-entry sheet. The run sequence fills the host-derived fields and the two list
// references before the sheet opens, and reads the result after it closes.
#pragma once

#include "aggregate/statement_line.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct AggregationConditions {
    // The user ID came from a 65-byte field and the saved output path goes to a 261-byte one
    // (both with their terminating NUL).
    static constexpr std::size_t kUserIdSize = 65;
    static constexpr std::size_t kSavedOutputPathSize = 261;

    // The XML output file as page 1 shows it.
    std::string outputPath;
    // First fiscal month of the accounting period, 1..12.
    std::int16_t firstMonth = 0;
    // Last month of the aggregation period, 1..12.
    std::int16_t endMonth = 0;
    // 1: totals are taken tax-inclusive.
    std::int16_t taxIncluded = 0;
    // Always 0; the third field of the saved "[P1]" line.
    std::int16_t reserved = 0;
    // Introduction start month as a 1-based index into the fiscal year (99: past-results data).
    std::int16_t introMonth = 0;
    // 0: the equity total reads texts::kEquityTotalCaption, else texts::kNetAssetsTotalCaption.
    std::int16_t equityLabel = 0;
    // Accounting period, YYYYMMDD.
    std::int32_t periodStart = 0;
    std::int32_t periodEnd = 0;
    // The two numbers the host gives for the current user's selection; the second is the data
    // number of the selected company data.
    std::int32_t selectionNo1 = 0;
    std::int32_t selectionNo2 = 0;
    FormGeneration form = FormGeneration::k16;
    // The current host user ID (at most kUserIdSize - 1 bytes).
    std::string userId;
    // The user's mappings; owned by the application object.
    MappingEntries* mappings = nullptr;
    // The defaults of the default-mapping file; owned here.
    MappingEntries defaultMappings;
    // The statement lines of the form generation; owned by the application object.
    StatementLines* statementLines = nullptr;
    // 1 when the host fixed the output file (outputPath was set when the sheet started).
    std::int32_t outputPathFixed = 0;
    // The output path last read from the settings file; empty when none.
    std::string savedOutputPath;
};
