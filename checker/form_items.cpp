#include "checker/form_items.h"

#include "aggregate/statement_line.h"
#include "checker/format.h"
#include "checker/text_decode.h"
#include "settings/statement_files.h"
#include "texts/checker.h"
#include "ui/page3_logic.h"

#include <map>

namespace checker {

namespace {

struct SheetControl {
    bool button = false;
    std::string caption; // Shift_JIS
};

// The line controls of the generation's pages 2 and 3 by line number, captioned as the sheet
// captions them.
std::map<std::int16_t, SheetControl> SheetControls(const StatementLines& lines,
                                                   FormGeneration form) {
    std::map<std::int16_t, SheetControl> byLine;
    for (const auto* controls :
         {&pages::MainAccountControls(form), &pages::MonthlyControls(form)}) {
        for (const pages::ControlCaption& caption : pages::CaptionLineControls(*controls, lines)) {
            for (const pages::LineControl& control : *controls) {
                if (control.controlId == caption.controlId)
                    byLine[control.lineNo] = {control.kind == pages::LineControlKind::kButton,
                                              caption.text};
            }
        }
    }
    return byLine;
}

} // namespace

const FormItem* FormItems::Find(const std::string& tag) const {
    for (const FormItem& line : lines) {
        if (line.tag == tag)
            return &line;
    }
    return nullptr;
}

platform::Status LoadFormItems(const std::string& bytes, const std::string& fileName,
                               FormGeneration form, FormItems& items) {
    StatementLines statementLines;
    if (!loadStatementLines(bytes, statementLines))
        return platform::Status::BadFile("read-form-items", fileName, "");
    const std::map<std::int16_t, SheetControl> controls = SheetControls(statementLines, form);
    const auto equityTotalLine = static_cast<std::int16_t>(FirstMonthlyLine(form) - 1);
    FormItems read;
    read.form = form;
    bool anyMain = false;
    for (const auto& line : statementLines) {
        // Placeholder lines are never written; a tag listed twice is written twice but can be
        // told apart by nothing, so its first line names it.
        if (IsPlaceholderTag(line->tag) || read.Find(line->tag) != nullptr)
            continue;
        FormItem item;
        item.lineNo = line->lineNo;
        item.tag = line->tag;
        item.name = ShiftJisToUtf8Lenient(line->name);
        item.monthly = !IsMainAccountLine(line->lineNo, form);
        item.page = item.monthly ? 3 : 2;
        const auto control = controls.find(line->lineNo);
        if (control != controls.end()) {
            item.button = control->second.button;
            item.caption = ShiftJisToUtf8Lenient(control->second.caption);
        } else if (line->lineNo == equityTotalLine) {
            // The company's own setting is not in the report: the newer form's companies are
            // taken to use the newer wording.
            const int equityLabel = form == FormGeneration::k30 ? 1 : 0;
            item.caption = ShiftJisToUtf8Lenient(pages::EquityTotalCaption(equityLabel));
        } else {
            item.caption = item.name;
        }
        anyMain = anyMain || !item.monthly;
        read.lines.push_back(std::move(item));
    }
    if (!anyMain)
        return platform::Status::BadFile("read-form-items", fileName, "no main item");
    items = std::move(read);
    return {};
}

std::string SheetPlace(const FormItem& line) {
    return Fill(texts::kSheetPlace,
                {{"page", std::to_string(line.page)}, {"caption", line.caption}});
}

} // namespace checker
