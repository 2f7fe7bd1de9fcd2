#pragma once

#include "platform/standin/StandInTable.h"

#include <QString>

namespace platform {

// Reads a dBase file into a table named as the Windows dBase driver shows it: the file name
// without ".dbf", in capitals. Character fields are Text, numeric fields Integer (no decimals)
// or Double, dates and logicals Text as the file holds them; deleted records are left out. The
// header is checked against the file's size first. False, with the file and why in `error`, for
// a damaged header, a field type without a counterpart here (memo, binary) and text that is not
// valid in the file's code page.
bool ReadDbfTable(const QString& path, StandInTable* table, QString* error);

}  // namespace platform
