// Account kind codes: the detail kinds that accounts carry and the totals the host computes.
#pragma once

#include <cstdint>
#include <vector>

namespace standin {

// A group of detail kinds: every code whose bits under mask equal prefix.
struct KindGroup {
    uint32_t prefix;
    uint32_t mask;
};

struct TotalKind {
    uint32_t code;
    uint8_t side; // 1 debit, 2 credit
    // 1 on the totals that a trial balance shows as grand totals, 0 on sub-totals.
    bool grandTotal;
    std::vector<KindGroup> members;
};

// True when code is one of the detail kinds an account may carry.
bool IsDetailKind(uint32_t code);

// The host's total kinds, in the order their rows are delivered.
const std::vector<TotalKind>& TotalKinds();

bool IsMember(const TotalKind& total, uint32_t detailKind);

} // namespace standin
