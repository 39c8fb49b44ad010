#include "checker/catalogue.h"

#include "aggregate/statement_line.h"
#include "checker/text_decode.h"
#include "settings/statement_files.h"

namespace checker {

const CatalogueLine* Catalogue::Find(const std::string& tag) const {
    for (const CatalogueLine& line : lines) {
        if (line.tag == tag)
            return &line;
    }
    return nullptr;
}

bool LoadCatalogue(const std::string& formItemBytes, bool newForm, Catalogue& catalogue) {
    StatementLines statementLines;
    if (!loadStatementLines(formItemBytes, statementLines))
        return false;
    Catalogue read;
    read.newForm = newForm;
    bool anyMain = false;
    for (const auto& line : statementLines) {
        // Placeholder lines are never written; a tag listed twice is written twice but can be
        // told apart by nothing, so its first line names it.
        if (line->tag.find('-') != std::string::npos || read.Find(line->tag) != nullptr)
            continue;
        CatalogueLine item;
        item.lineNo = line->lineNo;
        item.tag = line->tag;
        item.name = ShiftJisToUtf8Lenient(line->name);
        item.monthly =
            !IsMainAccountLine(line->lineNo, newForm ? FormGeneration::k30 : FormGeneration::k16);
        anyMain = anyMain || !item.monthly;
        read.lines.push_back(std::move(item));
    }
    if (!anyMain)
        return false;
    catalogue = std::move(read);
    return true;
}

} // namespace checker
