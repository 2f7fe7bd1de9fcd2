#include "admin/foundation/ExcelConnection.h"

#include "admin/foundation/AppLog.h"

#include <QFileInfo>

namespace admin {

CExcelConnection::CExcelConnection()
    : WorkbookConnection({[](const QString& text) { WriteAppLog(-1, text); }, QStringLiteral("New_"), true}) {}

int CExcelConnection::GetWorksheetList(QStringList* names, QStringList* schemas, QStringList* types) const {
  const int count = GetWorksheetCount();
  for (int index = 1; index <= count; ++index) {
    names->append(GetWorksheetName(index));
    schemas->append(QString());
    types->append(QString());
  }
  return count;
}

QString GetDispatchName(const platform::Workbook& workbook) { return QFileInfo(workbook.Path()).fileName(); }

QString GetDispatchName(const platform::Worksheet& worksheet) { return worksheet.Name(); }

}  // namespace admin
