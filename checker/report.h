// A report file read back: what the link program wrote, as the checker shows and checks it.
#pragma once

#include "checker/catalogue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace checker {

// Whole yen; no value when the report leaves the amount empty (zero or out of range).
using Amount = std::optional<std::int64_t>;

constexpr int kMonths = 12;

struct MainItem {
    const CatalogueLine* line = nullptr;
    Amount amount;
};

struct MonthlyRow {
    const CatalogueLine* line = nullptr;
    std::array<Amount, kMonths> amounts; // in the report's month order (TUKIBETU_01 first)
};

// Texts in UTF-8.
struct Report {
    std::string prefix;                  // GYOUMUPREFIX
    std::string version;                 // VERSION
    std::int16_t functionId = 0;         // FUNCTIONID
    std::string connectedVersion;        // CONNECTEDPROGRAMVER
    std::string programName;             // PROGRAMNAME
    std::string programVersion;          // PROGRAMVER
    std::string company;                 // KOMONSAKINAME
    std::int32_t periodFrom = 0;         // JIGYOUNENDOFROM, YYYYMMDD
    std::int32_t periodTo = 0;           // JIGYOUNENDOTO
    bool newForm = false;                // the generation that periodTo selects
    std::vector<MainItem> mainItems;     // catalogue order
    std::array<int, kMonths> months{};   // calendar month of TUKIBETU_01 ... _12
    std::vector<MonthlyRow> monthlyRows; // catalogue order
};

struct ReadError {
    int line = 0;        // 1-based
    int column = 0;      // 1-based, in characters
    std::string message; // UTF-8: what is wrong and what was expected
};

// The catalogue of a generation (false: newForm), or null when it cannot be had.
using CatalogueSource = std::function<const Catalogue*(bool newForm)>;

// Reads a report's bytes. Accepts what the report writer emits for either generation and
// nothing else; on anything else it returns false and says where and what.
bool ReadReport(const std::string& bytes, const CatalogueSource& catalogues, Report& report,
                ReadError& error);

} // namespace checker
