#pragma once

#include "platform/workbook/WorkbookStyles.h"
#include "platform/workbook/WorksheetCell.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

// A name a worksheet may have: 1 to 31 characters, none of them a control character or one of
// \ / ? * [ ] : (so that a name can never lead a file written after it out of its folder).
bool IsAllowedSheetName(const QString& name);

// One worksheet of an open workbook. Rows and columns count from zero at A1, whatever the first
// used cell is; the used range runs from A1 to the last used cell.
class Worksheet {
 public:
  Worksheet(QString name, const WorkbookStyles* styles);

  const QString& Name() const { return name_; }
  int32_t RowCount() const;
  int32_t ColumnCount() const;

  // The cell as the spreadsheet shows it under its number format; empty for an empty cell.
  QString CellText(int32_t row, int32_t column) const;
  // The same by A1 reference ("B7"); empty for a text that is no reference.
  QString Text(QStringView reference) const;
  // The cells without a value in rows first to last (inclusive) of the used columns.
  int64_t BlankCount(int32_t firstRow, int32_t lastRow) const;

  // Removes the row; the rows below move up by one. False beyond the sheet limits.
  bool DeleteRow(int32_t row);
  // Puts a text value into the cell, keeping its format. False beyond the sheet limits.
  bool WriteCell(int32_t row, int32_t column, const QString& text);

  // Writes the used range as Unicode text: UTF-16LE with a byte-order mark, cells as shown,
  // separated by tabs, rows ended by CR LF; a value holding a tab, line break or double quote
  // goes in double quotes with its quotes doubled. The file is replaced atomically.
  bool SaveAsUnicodeText(const QString& path, QString* error) const;

  // For the workbook readers and writers.
  const std::vector<WorksheetRow>& Rows() const { return rows_; }
  // Adds a cell as a reader finds it; false when the cell was given already.
  bool AddCell(int32_t row, int32_t rowSourceIndex, const WorksheetCell& cell);
  const std::vector<int32_t>& DeletedRows() const { return deletedRows_; }
  bool Modified() const { return modified_; }
  const WorkbookStyles& Styles() const { return *styles_; }

 private:
  WorksheetRow* EnsureRow(int32_t row);
  const WorksheetCell* FindCell(int32_t row, int32_t column) const;
  void MeasureUsedRange() const;

  QString name_;
  const WorkbookStyles* styles_;
  std::vector<WorksheetRow> rows_;
  std::vector<int32_t> deletedRows_;  // in the order deleted, each as it was numbered then
  bool modified_ = false;
  mutable bool measured_ = false;
  mutable int32_t rowCount_ = 0;
  mutable int32_t columnCount_ = 0;
};

}  // namespace platform
