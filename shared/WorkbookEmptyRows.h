#pragma once

#include "platform/workbook/Worksheet.h"

#include <QString>

#include <cstdint>
#include <functional>

// The empty-row clean-up both programs run on a copy of a workbook before they read it.

// Whether sheet row `row` (zero-based) is blank in each of the sheet's `columnCount` used
// columns; `extraColumn` tells that more blanks than columns were counted.
bool IsWorksheetRowEmpty(const platform::Worksheet& sheet, int32_t row, int32_t columnCount, bool* extraColumn);

// Copies the workbook at `*path` to `copyName` in the workbook folder (each level made when
// missing), deletes the empty rows of every worksheet of the copy and saves it; `*path` becomes
// the copy's path. An older copy is deleted first, so a
// failed copy is never read in its place: the failure is logged and the result is false. Every
// step writes its line through `log`.
bool DeleteEmptyRowsInWorkbookCopy(QString* path, const QString& copyName,
                                   const std::function<void(const QString&)>& log);
