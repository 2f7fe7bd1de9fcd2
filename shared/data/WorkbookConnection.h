#pragma once

#include "shared/data/SharedWorkbook.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace data {

// One workbook file opened through the workbook model: its worksheets, their names, and their
// export to the text files the text driver reads.
class WorkbookConnection {
 public:
  // What the programs do differently with their workbooks.
  struct Conventions {
    // Where a failure is written.
    std::function<void(const QString&)> log;
    // What goes before a worksheet's name in the name of its text file.
    QString exportPrefix;
    // Whether a workbook read from an .xls file is saved on closing, which turns it into a package.
    bool savesXlsWorkbooks = false;
  };

  explicit WorkbookConnection(Conventions conventions);
  ~WorkbookConnection();
  WorkbookConnection(const WorkbookConnection&) = delete;
  WorkbookConnection& operator=(const WorkbookConnection&) = delete;

  // 1 when the workbook opened, else 0 with "Unable To Connect" in `errorText` (when given) and
  // the reason in the log. Closes a workbook opened before.
  int OpenWorkbook(const QString& path, QString* errorText, bool readOnly);
  // Saves the workbook when it was opened read-write (a failed save is logged), then closes it.
  void CloseWorkbook();

  const SharedWorkbook& Workbook() const { return m_workbook; }
  int GetWorksheetCount() const { return m_sheetCount; }
  // The name of worksheet `index`, counted from 1; empty outside.
  QString GetWorksheetName(int index) const;

  // Saves every worksheet as prefix + name + ".txt" (Unicode text) in the workbook folder and
  // writes "schema.ini" anew with a section for every text file there; appends the names to
  // `names` when given. The worksheet count; 0 when there is no such folder or a file could not
  // be written (logged).
  int ExportSheetsToText(QStringList* names);

 private:
  bool SavesOnClosing() const;
  bool ExportSheet(const platform::Worksheet& sheet, const QString& folder);

  Conventions m_conventions;
  SharedWorkbook m_workbook;
  int m_sheetCount = 0;
  bool m_readOnly = true;
};

}  // namespace data
