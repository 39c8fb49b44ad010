// The statement lines of one form generation as the checker shows and checks them: the lines of
// the edition's form-item file that a report holds (placeholders left out), with the place where
// the condition sheet shows each of them. Texts in UTF-8.
#pragma once

#include "aggregate/statement_line.h"
#include "platform/status.h"

#include <cstdint>
#include <string>
#include <vector>

namespace checker {

struct FormItem {
    std::int16_t lineNo = 0;
    std::string tag;
    std::string name; // as the form-item file names it
    bool monthly = false;
    // Where the condition sheet shows the line: page 2 (main items) or 3 (monthly items), the
    // caption it has there, and whether it is a button that opens the mapping dialog (else a
    // label, whose amount the host's own totals give).
    int page = 2;
    std::string caption;
    bool button = false;
};

struct FormItems {
    FormGeneration form = FormGeneration::k16;
    std::vector<FormItem> lines; // file order: main items, then monthly items

    const FormItem* Find(const std::string& tag) const;
};

// Reads a form-item file (its bytes, Shift_JIS; fileName for the status) with the program's own
// reader. Fails (bad file) when the reader rejects the file or it defines no main item.
//
// The sheet captions each line as the program does. The total of the equity section has no line
// control: page 2 labels it with the older or the newer term for equity (pages::EquityTotalCaption)
// by a setting of the company data that the report does not carry. The checker names it by the
// form generation instead, the newer term for the newer form: the newer term came with the
// company law of 2006, long before the newer form, and the sample company data of both
// generations are set that way.
[[nodiscard]] platform::Status LoadFormItems(const std::string& bytes, const std::string& fileName,
                                             FormGeneration form, FormItems& items);

// The line as the sheet shows it: its page and caption (texts::kSheetPlace).
std::string SheetPlace(const FormItem& line);

} // namespace checker
