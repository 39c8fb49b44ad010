// Search terms (StFINDINFO) as the host's set objects and cursors evaluate them.
#pragma once

#include "host/records.h"

#include <cstdint>
#include <vector>

namespace standin {

// At most this many terms are read; a tenth term that still links to another is refused.
constexpr int kMaxTerms = 10;

struct Term {
    int32_t field;
    int16_t op;
    int64_t value;
    int16_t link;
};

// Reads the terms from terms up to the first with link 0. False when a term has an unknown
// field (other than the allowed ones), operator, value type or link, or the terms do not end.
bool ReadTerms(const StFINDINFO* terms, std::initializer_list<int32_t> allowedFields,
               std::vector<Term>& out);

// Evaluates the terms, "and" binding closer than "or"; valueOf gives the value of a field.
template <typename ValueOf> bool Matches(const std::vector<Term>& terms, ValueOf valueOf) {
    bool any = false;
    bool all = true;
    for (const Term& term : terms) {
        bool hit = true;
        if (term.op != StFINDINFO::kAll) {
            const int64_t v = valueOf(term.field);
            hit = term.op == StFINDINFO::kEqual     ? v == term.value
                  : term.op == StFINDINFO::kAtLeast ? v >= term.value
                                                    : v <= term.value;
        }
        all = all && hit;
        if (term.link != StFINDINFO::kAnd) {
            any = any || all;
            all = true;
        }
    }
    return any;
}

} // namespace standin
