#include "admin/foundation/ExcelProfile.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ExcelConnection.h"
#include "shared/WorkbookEmptyRows.h"

namespace admin {

bool DeleteEmptyRowsInExcelSheets(QString* path, const QString& fileName) {
  return DeleteEmptyRowsInWorkbookCopy(path, QStringLiteral("New_") + fileName,
                                       [](const QString& text) { WriteAppLog(-1, text); });
}

int ConnectExcelProfile(const QString& path, const QString& fileName) {
  QString copy = path;
  if (!DeleteEmptyRowsInExcelSheets(&copy, fileName)) return 0;
  CExcelConnection connection;
  QString error;
  if (!connection.OpenWorkbook(&error, true, copy)) {
    WriteAppLog(13, QStringLiteral("Problem connecting Excel profile."));
    WriteAppLog(13, error);
    return 0;
  }
  WriteAppLog(14, QStringLiteral("Success to connecting Excel profile."));
  QStringList names;
  const int exported = connection.ExportSheetsToText(&names);
  connection.CloseWorkbook();
  return exported;
}

}  // namespace admin
