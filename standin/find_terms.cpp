#include "standin/find_terms.h"

#include <algorithm>

namespace standin {

bool ReadTerms(const StFINDINFO* terms, std::initializer_list<int32_t> allowedFields,
               std::vector<Term>& out) {
    out.clear();
    if (terms == nullptr)
        return false;
    for (int i = 0; i < kMaxTerms; ++i) {
        const StFINDINFO& t = terms[i];
        Term term{t.field(), t.op(), 0, t.link()};
        if (std::find(allowedFields.begin(), allowedFields.end(), term.field) ==
            allowedFields.end())
            return false;
        if (term.op != StFINDINFO::kEqual && term.op != StFINDINFO::kAll &&
            term.op != StFINDINFO::kAtLeast && term.op != StFINDINFO::kAtMost)
            return false;
        switch (t.valueType()) {
        case StFINDINFO::kInt16:
            term.value = t.value16();
            break;
        case StFINDINFO::kInt32:
            term.value = t.value32();
            break;
        case StFINDINFO::kKindCodeValue:
            term.value = t.kindValue();
            break;
        default:
            if (term.op != StFINDINFO::kAll)
                return false;
        }
        if (term.link != StFINDINFO::kNone && term.link != StFINDINFO::kAnd &&
            term.link != StFINDINFO::kOr)
            return false;
        out.push_back(term);
        if (term.link == StFINDINFO::kNone)
            return true;
    }
    return false;
}

} // namespace standin
