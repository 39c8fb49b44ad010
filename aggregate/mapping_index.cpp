#include "aggregate/mapping_index.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint64_t Word(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The 32 digits of two keys are equal.
bool SameDigits(const char* a, const char* b) {
    return ((Word(a) ^ Word(b)) | (Word(a + 8) ^ Word(b + 8)) | (Word(a + 16) ^ Word(b + 16)) |
            (Word(a + 24) ^ Word(b + 24))) == 0;
}

// Text that can equal an account key: "0x" and 32 more characters, then the end of the text.
bool IsAccountKeyShaped(const std::string& key) {
    return key.size() >= kMappingKeySize - 1 && key[0] == '0' && key[1] == 'x' &&
           key[kMappingKeySize - 1] == '\0';
}

} // namespace

std::uint64_t MappingIndex::Hash(const char* digits) {
    return Word(digits) * 0x9E3779B97F4A7C15u + Word(digits + 8) * 0xC2B2AE3D27D4EB4Fu +
           Word(digits + 16) * 0x165667B19E3779F9u + Word(digits + 24) * 0xD6E8FEB86659FD93u;
}

// Inline: the constructor calls it for every entry, and the call would cost a third of it.
inline void MappingIndex::Add(const char* digits, std::int16_t lineNo) {
    std::uint32_t firstLine = 0;
    std::uint32_t endLine = 0;
    const std::int32_t run = lineNo - lowestLineNo_;
    if (run >= 0 && static_cast<std::size_t>(run) + 1 < lineRuns_.size()) {
        firstLine = lineRuns_[static_cast<std::size_t>(run)];
        endLine = lineRuns_[static_cast<std::size_t>(run) + 1];
    }
    const std::int32_t target = static_cast<std::int32_t>(targets_.size());
    targets_.push_back({firstLine, endLine, kNoTarget});

    const std::uint64_t hash = Hash(digits);
    const std::uint32_t tag = static_cast<std::uint32_t>(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash >> (64 - slotBits_));; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.key == 0) {
            keys_.emplace_back();
            Key& key = keys_.back();
            std::memcpy(key.digits, digits, kDigits);
            key.first = key.last = target;
            key.lineCount = endLine - firstLine;
            slot = {static_cast<std::uint32_t>(keys_.size()), tag};
            return;
        }
        if (slot.tag != tag)
            continue;
        Key& key = keys_[slot.key - 1];
        if (SameDigits(key.digits, digits)) {
            targets_[static_cast<std::size_t>(key.last)].next = target;
            key.last = target;
            key.lineCount += endLine - firstLine;
            return;
        }
    }
}

MappingIndex::MappingIndex(const MappingEntries& mappings, StatementLines& lines,
                           FormGeneration form) {
    IndexLines(lines, form);
    // At least twice as many slots as keys, so that a probe seldom goes far and always ends.
    while ((std::size_t{1} << slotBits_) < 2 * mappings.size())
        ++slotBits_;
    slots_.assign(std::size_t{1} << slotBits_, Slot{0, 0});
    keys_.reserve(mappings.size());
    targets_.reserve(mappings.size());
    for (const auto& entry : mappings) {
        const std::string& key = entry->key;
        if (IsAccountKeyShaped(key))
            Add(key.data() + 2, entry->lineNo);
    }
    for (const Key& key : keys_)
        mostLinesOfOneKey_ = std::max<std::size_t>(mostLinesOfOneKey_, key.lineCount);
}

// lines_ in order of number and, within a number, in list order (a counting sort).
void MappingIndex::IndexLines(StatementLines& lines, FormGeneration form) {
    if (lines.empty())
        return;
    const auto [lowest, highest] =
        std::minmax_element(lines.begin(), lines.end(),
                            [](const auto& a, const auto& b) { return a->lineNo < b->lineNo; });
    lowestLineNo_ = (*lowest)->lineNo;
    lineRuns_.assign(static_cast<std::size_t>((*highest)->lineNo - lowestLineNo_) + 2, 0);
    for (const auto& line : lines)
        ++lineRuns_[static_cast<std::size_t>(line->lineNo - lowestLineNo_) + 1];
    for (std::size_t i = 1; i < lineRuns_.size(); ++i)
        lineRuns_[i] += lineRuns_[i - 1];
    lines_.resize(lines.size());
    std::vector<std::uint32_t> next(lineRuns_.begin(), lineRuns_.end() - 1);
    for (const auto& line : lines) {
        const std::size_t run = static_cast<std::size_t>(line->lineNo - lowestLineNo_);
        lines_[next[run]++] = {line.get(), line->side, IsMainAccountLine(line->lineNo, form)};
    }
}

std::int32_t MappingIndex::First(const AccountKey& key) const {
    const char* digits = key.text + 2;
    const std::uint64_t hash = Hash(digits);
    const std::uint32_t tag = static_cast<std::uint32_t>(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash >> (64 - slotBits_)); slots_[i].key != 0;
         i = (i + 1) & mask) {
        if (slots_[i].tag != tag)
            continue;
        const Key& found = keys_[slots_[i].key - 1];
        if (SameDigits(found.digits, digits))
            return found.first;
    }
    return kNoTarget;
}
