// The company data of a run: the data set the host user has selected, the form generation and
// header texts it gives, and the month terms that ask the host for the chosen months' totals.
#pragma once

#include "aggregate/request.h"
#include "host/records.h"
#include "platform/host.h"
#include "platform/status.h"

#include <cstdint>
#include <string>

// Copies the data record of the company data that the current host user has selected into
// record. Refused, with the record all zeros, when a host call fails (the user, the selection
// numbers or the walk of the data sets) or no data set has the selected number (no data, with
// the number).
[[nodiscard]] platform::Status SelectCompanyData(platform::Host& host, StDATAINFO& record);

// Header texts of the condition sheet, each held to the 50 bytes of the form's text field: the
// company " name" (a longer name is cut without splitting a double-byte character) and the
// period " yyyy/mm/dd~yyyy/mm/dd" (texts::kPeriodHeaderFormat; the tilde is full-width).
std::string CompanyHeaderText(const StDATAINFO& record);
std::string PeriodHeaderText(const StDATAINFO& record);
