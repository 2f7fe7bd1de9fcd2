#pragma once

#include "shared/data/SharedWorkbook.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace data {

// The rows of one worksheet of an open workbook, counted from A1 up to the last used cell; every
// value the text the sheet shows. Rows and columns are zero-based. Until it is attached to a
// sheet it has none.
class WorksheetRows {
 public:
  // A column's name: its letters.
  static QString ColumnName(int16_t column);

  // Attaches to the worksheet of exactly that name; false, with nothing changed, when there is none.
  bool Attach(const SharedWorkbook& workbook, const QString& name);
  bool IsAttached() const { return m_sheet != nullptr; }
  // The workbook attached to; only while attached.
  const platform::Workbook& Workbook() const { return *m_workbook; }

  int16_t ColumnCount() const { return m_columnCount; }
  int32_t RowCount() const { return m_rowCount; }
  // Empty unless attached.
  QString CellText(int32_t row, int16_t column) const;

  // The row as a device record of text columns, each value at most `maxValueUnits` UTF-16 units:
  // its length; 0 past the row count, and when a value would start beyond what a 16-bit offset
  // reaches.
  int EncodeRow(int32_t row, qsizetype maxValueUnits, QByteArray* record) const;
  // Whether every used column of the row is blank; `extraColumn` tells that more blanks than
  // columns were counted. False past the row count.
  bool IsRowEmpty(int32_t row, bool* extraColumn) const;

  // Deletes the row; the rows below move up. False past the row count.
  bool DeleteRow(int32_t row);
  // Writes one cell; false beyond the sheet. The counts stay until ReloadUsedRange.
  bool WriteCell(int32_t row, int32_t column, const QString& text);
  // Counts the rows and columns again after cells were written.
  void ReloadUsedRange();

 private:
  // The rows a caller may name: each used one and the one just below them.
  bool Reaches(int32_t row) const { return IsAttached() && row >= 0 && row <= m_rowCount; }

  SharedWorkbook m_workbook;
  platform::Worksheet* m_sheet = nullptr;
  int16_t m_columnCount = 0;
  int32_t m_rowCount = 0;
};

}  // namespace data
