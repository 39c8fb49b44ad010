// Which edition of the link program wrote a report.
#pragma once

#include "app/edition.h"
#include "checker/report.h"

#include <string>

namespace checker {

// The editions in the order the checker tries their form-item files.
const Edition* const* Editions(); // three, then null

// The edition whose default product name the report carries (PROGRAMNAME), or null when it
// carries another name (a product name that the host's support file gives).
const Edition* EditionOf(const std::string& programName);

// The edition's data-file prefix ("Ivy"), or the product name when no edition's name is carried.
std::string EditionText(const Report& report);

} // namespace checker
