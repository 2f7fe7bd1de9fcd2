#pragma once

#include "platform/workbook/Workbook.h"

#include <QString>
#include <QStringList>

#include <memory>

// The worksheets of an open workbook as a caller holds them to attach a worksheet handler; the
// workbook stays alive while any holder has it, as an automation object does.
using ExcelWorksheetsDriver = std::shared_ptr<platform::Workbook>;

// One workbook opened through the workbook model: its worksheets, and their export to text
// files that the text driver reads.
class CExcelConnection {
 public:
  CExcelConnection() = default;
  virtual ~CExcelConnection();
  CExcelConnection(const CExcelConnection&) = delete;
  CExcelConnection& operator=(const CExcelConnection&) = delete;

  // 1 when the workbook opened, else 0 with "Unable To Connect" in `errorText` (when given) and
  // the reason in the log. Closes a workbook opened before.
  int OpenWorkbook(QString* errorText, bool readOnly, const QString& path);
  // Saves the workbook when it was opened read-write (a failed save is logged), then closes it.
  void CloseWorkbook();

  ExcelWorksheetsDriver GetWorksheetsDriver() const { return m_workbook; }
  // The worksheet names, with an empty schema and type text for each; the worksheet count.
  int GetWorksheetList(QStringList* names, QStringList* schemas, QStringList* types) const;
  // The name of worksheet `index`, counted from 1; empty outside.
  QString GetWorksheetName(int index) const;
  int GetWorksheetCount() const { return m_nWorksheetCount; }
  bool IsOpened() const { return m_workbook != nullptr; }

  // Saves every worksheet as "New_" + name + ".txt" (Unicode text) in the workbook folder with
  // a "schema.ini" section for every text file there, and appends the names to `names`. The
  // worksheet count; 0 when there is no documents folder or a file could not be written.
  int ExportSheetsToText(QStringList* names);

 private:
  ExcelWorksheetsDriver m_workbook;
  int m_nWorksheetCount = 0;
  bool m_bReadOnly = true;
};

// The name an automation object shows: a workbook's file name, a worksheet's name.
QString GetDispatchName(const platform::Workbook& workbook);
QString GetDispatchName(const platform::Worksheet& worksheet);
