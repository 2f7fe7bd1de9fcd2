#include "sync/data/ExcelSheetCleanup.h"

#include "shared/WorkbookEmptyRows.h"
#include "sync/data/SyncLog.h"

namespace syncservice {

bool DeleteEmptyRowsInExcelSheets(QString* path, const QString& fileName) {
  return DeleteEmptyRowsInWorkbookCopy(path, fileName, [](const QString& text) { WriteSyncServiceLog(-1, text); });
}

}  // namespace syncservice
