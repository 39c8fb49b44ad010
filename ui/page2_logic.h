// Page 2 (main accounts) without windows: which control shows which statement line in each form
// generation, the captions the statement lines give those controls, the newer generation's
// relayout of the right-hand column, and the page's keyboard rules. Page 3 shares the caption
// and keyboard rules.
#pragma once

#include "aggregate/statement_line.h"
#include "texts/catalogue.h"
#include "ui/condition_sheet_logic.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pages {

enum class LineControlKind { kLabel, kButton };

// One control of a page that shows a statement line.
struct LineControl {
    int controlId;
    LineControlKind kind;
    std::int16_t lineNo;
};

// The line controls of page 2 of the form generation.
const std::vector<LineControl>& MainAccountControls(FormGeneration form);

// Text of the vertical caption 1027 beside the cost-of-sales buttons.
inline constexpr const char* kCostOfSalesCaption = texts::kCostOfSalesCaption;

// Text of the equity total label 1035.
const char* EquityTotalCaption(int equityLabel);

// What the statement lines make of one control: its text, and for a line button whether it
// is enabled (labels keep their state).
struct ControlCaption {
    int controlId;
    std::string text;
    std::optional<bool> enabled;
};

// Captions of the controls whose line occurs in lines; a line that occurs twice is captioned by
// its later occurrence, and controls whose line does not occur are left out (they keep their
// template text and state). A line named exactly "-" gives an empty text and a disabled button.
std::vector<ControlCaption> CaptionLineControls(const std::vector<LineControl>& controls,
                                                const StatementLines& lines);

// The first statement line with the number, or null: a button opens the mapping dialog only for
// a line that the catalogue holds.
const StatementLine* FindStatementLine(const StatementLines& lines, std::int16_t lineNo);

// A control's window rectangle in the page's client coordinates, in pixels.
struct ControlRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct ControlMove {
    int controlId;
    int left;
    int top;
};

// The generation-30 arrangement of page 2: controls to show and enable, to hide and disable,
// and moves (sizes stay) in the order they are made.
struct PageRelayout {
    std::vector<int> shown;
    std::vector<int> hidden;
    std::vector<ControlMove> moves;
};

// Computes the relayout from the controls' current rectangles; nothing when a control the
// relayout measures is missing.
std::optional<PageRelayout> RelayoutMainAccountsPage(const std::map<int, ControlRect>& rects);

// Keyboard pre-translation of pages 2 and 3.
enum class MessageKind { kKeyDown, kKeyUp, kChar, kMouseMove, kOther };

enum class PageKeyAction {
    kDefault,     // the normal property-page path
    kSwallow,     // dropped
    kPressButton, // the target line button's click handler runs, the message is dropped
};

PageKeyAction TranslatePageKey(MessageKind kind, unsigned wParam, sheet::Modifiers modifiers,
                               bool targetIsLineButton);

} // namespace pages
