#include "sync/data/ExcelConnection.h"

#include "sync/data/SyncLog.h"

namespace syncservice {

CExcelConnection::CExcelConnection()
    : WorkbookConnection({[](const QString& text) { WriteSyncServiceLog(-1, text); }, QString(), false}) {}

}  // namespace syncservice
