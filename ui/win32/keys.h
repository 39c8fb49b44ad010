// The keyboard as the sheet, its pages and the mapping dialog read it: one classification of
// the queued messages and one reading of the modifier keys held.
#pragma once

#include "ui/condition_sheet_logic.h"
#include "ui/page2_logic.h"

#include <windows.h>

namespace win {

// A key going down or up (system or not), a character (system or not), a mouse move, or other.
pages::MessageKind KindOfMessage(UINT message);

// A key going down or up, system or not.
bool IsKeyMessage(UINT message);

// Shift, Ctrl and Alt as held when the message being handled was queued.
sheet::Modifiers HeldModifiers();

} // namespace win
