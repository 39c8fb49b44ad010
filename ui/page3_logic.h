// Page 3 (monthly sales and the like) without windows: the eight line buttons and the monthly lines
// behind them in each form generation. Captions and keys follow page 2's rules (page2_logic.h).
#pragma once

#include "ui/page2_logic.h"

#include <vector>

namespace pages {

// The line buttons of page 3 of the form generation, top to bottom.
const std::vector<LineControl>& MonthlyControls(FormGeneration form);

} // namespace pages
