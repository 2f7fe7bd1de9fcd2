#pragma once

#include "shared/data/WorkbookConnection.h"

namespace syncservice {

// The worksheets of an open workbook as a worksheet handler holds them.
using ExcelWorksheets = data::SharedWorkbook;

// One workbook opened through the workbook model: its worksheets, their names, and their export
// to text files that the text driver reads, each named as its sheet. A workbook read from an .xls
// file is never saved: the model would turn it into a package.
class CExcelConnection : private data::WorkbookConnection {
 public:
  CExcelConnection();

  using WorkbookConnection::OpenWorkbook;
  using WorkbookConnection::CloseWorkbook;

  const ExcelWorksheets& GetWorksheets() const { return Workbook(); }
  using WorkbookConnection::GetWorksheetCount;
  using WorkbookConnection::GetWorksheetName;

  // Saves every worksheet as its name + ".txt" in the Temp Files folder (see
  // WorkbookConnection::ExportSheetsToText).
  int ExportSheetsToText() { return WorkbookConnection::ExportSheetsToText(nullptr); }
};

}  // namespace syncservice
