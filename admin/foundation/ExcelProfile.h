#pragma once

#include <QString>

namespace admin {

// Copies the workbook at `*path` to "New_" + `fileName` in the workbook folder, deletes the
// empty rows of every worksheet of the copy and saves it; `*path` becomes the copy's path. An
// older copy is deleted first, so a failed copy is never read in its place: the failure is
// logged and the result is false. Every step is logged.
bool DeleteEmptyRowsInExcelSheets(QString* path, const QString& fileName);

// Cleans the workbook into its copy and exports the copy's worksheets to text files for the
// text driver; the number of worksheets exported, 0 on failure.
int ConnectExcelProfile(const QString& path, const QString& fileName);

}  // namespace admin
