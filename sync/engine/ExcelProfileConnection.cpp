#include "sync/engine/ExcelProfileConnection.h"

#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelSheetCleanup.h"
#include "sync/data/SyncLog.h"

int32_t ConnectExcelProfile(QString path, QString fileName) {
  // A failed clean-up leaves the path naming the missing copy: the open below fails and says so.
  syncservice::DeleteEmptyRowsInExcelSheets(&path, fileName);
  syncservice::CExcelConnection connection;
  QString error;
  if (!connection.OpenWorkbook(path, &error, true)) {
    WriteSyncServiceLog(-13, QStringLiteral("Problem connecting Excel profile."));
    WriteSyncServiceLog(-13, error);
    return 0;
  }
  WriteSyncServiceLog(-14, QStringLiteral("Success to connecting Excel profile."));
  return connection.ExportSheetsToText();
}
