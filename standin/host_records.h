// Filling the host records from the stand-in's books.
#pragma once

#include "host/records.h"
#include "standin/book.h"

namespace standin {

void FillDataInfo(const DataSet& data, StDATAINFO& info);
void FillAccountInfo(const Account& account, StKAMOKUINFO& info);

} // namespace standin
