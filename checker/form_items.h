// The statement lines of one form generation as the checker shows and checks them: the lines of
// the edition's form-item file that the report holds (placeholders left out), names in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace checker {

struct CatalogueLine {
    std::int16_t lineNo = 0;
    std::string tag;
    std::string name; // UTF-8
    bool monthly = false;
};

struct Catalogue {
    bool newForm = false;
    std::vector<CatalogueLine> lines; // file order: main items, then monthly items

    const CatalogueLine* Find(const std::string& tag) const;
};

// Reads a form-item file (its bytes, Shift_JIS) with the program's own reader. False when the
// reader rejects the file or it defines no main item.
bool LoadCatalogue(const std::string& formItemBytes, bool newForm, Catalogue& catalogue);

} // namespace checker
