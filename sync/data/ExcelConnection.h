#pragma once

#include "platform/workbook/Workbook.h"

#include <QString>

#include <memory>

// The worksheets of an open workbook as a worksheet handler holds them; the workbook stays
// alive while any holder has it, as an automation object does.
using ExcelWorksheets = std::shared_ptr<platform::Workbook>;

// One workbook opened through the workbook model: its worksheets, their names, and their export
// to text files that the text driver reads.
class CExcelConnection {
 public:
  CExcelConnection() = default;
  virtual ~CExcelConnection();
  CExcelConnection(const CExcelConnection&) = delete;
  CExcelConnection& operator=(const CExcelConnection&) = delete;

  // 1 when the workbook opened, else 0 with "Unable To Connect" in `errorText` (when given) and
  // the reason in the log. Closes a workbook opened before.
  int OpenWorkbook(const QString& path, QString* errorText, bool readOnly);
  // Saves the workbook when it was opened read-write (a failed save is logged), then closes it.
  // A workbook read from an .xls file is never saved: the model would turn it into a package.
  void CloseWorkbook();

  const ExcelWorksheets& GetWorksheets() const { return m_workbook; }
  int GetWorksheetCount() const { return m_nSheetCount; }
  // The name of worksheet `index`, counted from 1; empty outside.
  QString GetWorksheetName(int index) const;

  // Saves every worksheet as its name + ".txt" (Unicode text) in the Temp Files folder and
  // writes "schema.ini" anew with a section for every text file there. The worksheet count; 0
  // when there is no such folder or a file could not be written (logged).
  int ExportSheetsToText();

 private:
  ExcelWorksheets m_workbook;
  int m_nSheetCount = 0;
  bool m_bReadOnly = true;
};
