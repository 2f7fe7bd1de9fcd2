#pragma once

#include "shared/data/WorkbookConnection.h"

#include <QString>
#include <QStringList>

namespace admin {

// The worksheets of an open workbook as a caller holds them to attach a worksheet handler.
using ExcelWorksheetsDriver = data::SharedWorkbook;

// One workbook opened through the workbook model: its worksheets, and their export to text
// files that the text driver reads, each named "New_" + the sheet's name. Closing saves a
// workbook opened read-write, one read from an .xls file too.
class CExcelConnection : private data::WorkbookConnection {
 public:
  CExcelConnection();

  // 1 when the workbook opened, else 0 with "Unable To Connect" in `errorText` (when given) and
  // the reason in the log. Closes a workbook opened before.
  int OpenWorkbook(QString* errorText, bool readOnly, const QString& path) {
    return WorkbookConnection::OpenWorkbook(path, errorText, readOnly);
  }
  using WorkbookConnection::CloseWorkbook;

  ExcelWorksheetsDriver GetWorksheetsDriver() const { return Workbook(); }
  // The worksheet names, with an empty schema and type text for each; the worksheet count.
  int GetWorksheetList(QStringList* names, QStringList* schemas, QStringList* types) const;
  using WorkbookConnection::GetWorksheetName;
  using WorkbookConnection::GetWorksheetCount;
  bool IsOpened() const { return Workbook() != nullptr; }

  using WorkbookConnection::ExportSheetsToText;
};

// The name an automation object shows: a workbook's file name, a worksheet's name.
QString GetDispatchName(const platform::Workbook& workbook);
QString GetDispatchName(const platform::Worksheet& worksheet);

}  // namespace admin
