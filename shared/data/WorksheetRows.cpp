#include "shared/data/WorksheetRows.h"

#include "platform/workbook/CellReference.h"
#include "shared/WorkbookEmptyRows.h"
#include "shared/devicerecord/SheetRowRecord.h"

#include <algorithm>

namespace data {

QString WorksheetRows::ColumnName(int16_t column) {
  return column < 0 ? QString() : platform::ColumnLetters(column);
}

bool WorksheetRows::Attach(const SharedWorkbook& workbook, const QString& name) {
  platform::Worksheet* sheet = workbook ? workbook->FindWorksheet(name) : nullptr;
  if (sheet == nullptr) return false;
  m_workbook = workbook;
  m_sheet = sheet;
  ReloadUsedRange();
  return true;
}

QString WorksheetRows::CellText(int32_t row, int16_t column) const {
  return IsAttached() ? m_sheet->CellText(row, column) : QString();
}

int WorksheetRows::EncodeRow(int32_t row, qsizetype maxValueUnits, QByteArray* record) const {
  if (!Reaches(row)) return 0;
  return devicerecord::EncodeSheetRow(*m_sheet, row, m_columnCount, maxValueUnits, record);
}

bool WorksheetRows::IsRowEmpty(int32_t row, bool* extraColumn) const {
  *extraColumn = false;
  return Reaches(row) && IsWorksheetRowEmpty(*m_sheet, row, m_columnCount, extraColumn);
}

bool WorksheetRows::DeleteRow(int32_t row) {
  if (!Reaches(row) || !m_sheet->DeleteRow(row)) return false;
  ReloadUsedRange();
  return true;
}

bool WorksheetRows::WriteCell(int32_t row, int32_t column, const QString& text) {
  return IsAttached() && m_sheet->WriteCell(row, column, text);
}

void WorksheetRows::ReloadUsedRange() {
  m_columnCount = static_cast<int16_t>(std::min<int32_t>(m_sheet->ColumnCount(), INT16_MAX));
  m_rowCount = m_sheet->RowCount();
}

}  // namespace data
