// The mapping entries of one aggregation, arranged once before the host's rows are walked: the
// entries whose key is an account key by that key, each with the statement lines of its number.
// A row then finds the entries that feed it with one lookup instead of comparing its key with
// every entry.
#pragma once

#include "aggregate/account_key.h"
#include "aggregate/statement_line.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class MappingIndex {
  public:
    // A statement line that an entry feeds, with its side; main is true for a main-account line.
    struct LineRef {
        StatementLine* line;
        std::int16_t side;
        bool main;
    };
    // An entry with an account key: its lines lines[firstLine, endLine) and the next entry of
    // the same key in list order (kNoTarget after the last).
    struct Target {
        std::uint32_t firstLine;
        std::uint32_t endLine;
        std::int32_t next;
    };
    static constexpr std::int32_t kNoTarget = -1;

    // Both lists are borrowed and must outlive the index; form selects the line ranges.
    MappingIndex(const MappingEntries& mappings, StatementLines& lines, FormGeneration form);

    // The first entry, in list order, whose key equals key; kNoTarget when none does.
    std::int32_t First(const AccountKey& key) const;
    const Target& At(std::int32_t target) const {
        return targets_[static_cast<std::size_t>(target)];
    }
    const LineRef& Line(std::uint32_t i) const { return lines_[i]; }
    // The most lines that the entries of one key feed together: what one row can touch.
    std::size_t MostLinesOfOneKey() const { return mostLinesOfOneKey_; }

  private:
    // The 32 hexadecimal digits of an account key after its "0x".
    static constexpr std::size_t kDigits = kMappingKeySize - 3;
    struct Key {
        char digits[kDigits];
        std::int32_t first;
        std::int32_t last;
        std::uint32_t lineCount;
    };
    // A slot of the table: the key's index in keys_ plus 1 (0 for an empty slot), and bits of
    // its hash that spare most lookups of an absent key the visit of keys_.
    struct Slot {
        std::uint32_t key;
        std::uint32_t tag;
    };

    void IndexLines(StatementLines& lines, FormGeneration form);
    void Add(const char* digits, std::int16_t lineNo);
    static std::uint64_t Hash(const char* digits);

    std::vector<LineRef> lines_;
    // lines_ is ordered by number; the lines numbered lowestLineNo_ + i are
    // lines_[lineRuns_[i], lineRuns_[i + 1]).
    std::vector<std::uint32_t> lineRuns_;
    std::int32_t lowestLineNo_ = 0;
    std::vector<Target> targets_;
    std::vector<Key> keys_;
    // Open addressing over keys_, a power of two long, at most half full.
    std::vector<Slot> slots_;
    unsigned slotBits_ = 1;
    std::size_t mostLinesOfOneKey_ = 0;
};
