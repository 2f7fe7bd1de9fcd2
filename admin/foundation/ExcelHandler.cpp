#include "admin/foundation/ExcelHandler.h"

#include "platform/workbook/CellReference.h"
#include "shared/WorkbookEmptyRows.h"
#include "shared/devicerecord/SheetRowRecord.h"

#include <algorithm>

QString CExcelHandler::GetColumnName(int16_t column) {
  return column < 0 ? QString() : platform::ColumnLetters(column);
}

QString CExcelHandler::GetFieldValue(int32_t row, int16_t column) {
  return m_bAttached ? m_sheet->CellText(row, column) : QString();
}

int CExcelHandler::GetRowValues(int32_t row, QByteArray* buffer) {
  if (!m_bAttached || row < 0 || row > m_nRowCount) return 0;
  return devicerecord::EncodeSheetRow(*m_sheet, row, m_nColumnCount, kColumnSize, buffer);
}

int CExcelHandler::OpenWorksheet(const ExcelWorksheetsDriver& worksheets, const QString& name) {
  platform::Worksheet* sheet = worksheets ? worksheets->FindWorksheet(name) : nullptr;
  if (sheet == nullptr) return 0;
  m_workbook = worksheets;
  m_sheet = sheet;
  m_bAttached = true;
  LoadUsedRange();
  return 1;
}

void CExcelHandler::LoadUsedRange() {
  m_nColumnCount = static_cast<int16_t>(std::min<int32_t>(m_sheet->ColumnCount(), INT16_MAX));
  m_nRowCount = m_sheet->RowCount();
}

bool CExcelHandler::IsRowEmpty(int32_t row, bool* extraColumn) {
  *extraColumn = false;
  if (!m_bAttached || row < 0 || row > m_nRowCount) return false;
  return IsWorksheetRowEmpty(*m_sheet, row, m_nColumnCount, extraColumn);
}

bool CExcelHandler::DeleteRow(int32_t row) {
  if (!m_bAttached || row < 0 || row > m_nRowCount || !m_sheet->DeleteRow(row)) return false;
  LoadUsedRange();
  return true;
}
