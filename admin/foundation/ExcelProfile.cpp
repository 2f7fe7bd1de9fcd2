#include "admin/foundation/ExcelProfile.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ExcelConnection.h"
#include "admin/foundation/ExcelHandler.h"
#include "platform/FileCopy.h"
#include "platform/SystemError.h"
#include "shared/WorkbookFolder.h"

#include <QDir>

namespace {

void Log(const QString& text) { WriteAppLog(-1, text); }

// The rows of one worksheet that are empty in every used column, deleted; the row that moves up
// is tested next.
void DeleteEmptyRows(const CExcelConnection& connection, int index) {
  const QString name = connection.GetWorksheetName(index);
  CExcelHandler handler;
  handler.OpenWorksheet(connection.GetWorksheetsDriver(), name);
  int deleted = 0;
  int extraColumns = 0;
  int32_t rowCount = handler.GetRowCount();
  for (int32_t row = 0; row < rowCount; ++row) {
    bool extraColumn = false;
    if (!handler.IsRowEmpty(row, &extraColumn)) continue;
    if (extraColumn) ++extraColumns;
    handler.DeleteRow(row);
    --rowCount;
    --row;
    ++deleted;
  }
  Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <4> Empty Rows in \"%1\" sheet : %2")
          .arg(name)
          .arg(deleted));
  if (extraColumns > 0)
    Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <4.1> Sheet \"%1\" contains extra empty column : %2")
            .arg(name)
            .arg(extraColumns));
}

}  // namespace

bool DeleteEmptyRowsInExcelSheets(QString* path, const QString& fileName) {
  Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <1> Start"));
  const QString folder = WorkbookTempFolder();
  const QString copy = folder + QStringLiteral("/New_") + fileName;
  const bool copied = !folder.isEmpty() && QDir().mkpath(folder) && platform::CopyFileReplacing(*path, copy);
  if (!copied) Log(QStringLiteral("CopyFile ErrorCode : %1").arg(platform::GetLastError()));
  *path = copy;
  if (!copied) return false;
  Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <2> Temp File Created."));
  CExcelConnection connection;
  QString error;
  if (!connection.OpenWorkbook(&error, false, copy)) Log(error);
  Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <3> Deleting Empty Rows..."));
  for (int index = 1; index <= connection.GetWorksheetCount(); ++index) DeleteEmptyRows(connection, index);
  connection.CloseWorkbook();
  Log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <5> End"));
  return true;
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
