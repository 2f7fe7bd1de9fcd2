#pragma once

#include <QString>

namespace syncservice {

// Copies the workbook at `*path` to `fileName` in the workbook folder, deletes the empty rows of
// every worksheet of the copy and saves it; `*path` becomes the copy's path. An older copy is
// deleted first: when the copy fails, the failure is logged, no copy is left and the result is
// false. Every step is logged to the sync-service log.
bool DeleteEmptyRowsInExcelSheets(QString* path, const QString& fileName);

}  // namespace syncservice
