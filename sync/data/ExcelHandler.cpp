#include "sync/data/ExcelHandler.h"

#include "platform/workbook/CellReference.h"
#include "shared/Endian.h"
#include "shared/WorkbookEmptyRows.h"
#include "shared/devicerecord/DeviceRecord.h"
#include "shared/devicerecord/SheetRowRecord.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype kMaxValueUnits = CExcelHandler::kColumnSize / 2;

// The number of values a device record carries, told by its first offset (the table's size).
qsizetype RecordColumnCount(QByteArrayView record) {
  if (record.size() < 2) return 0;
  return endian::ReadBE<uint16_t>(reinterpret_cast<const uint8_t*>(record.data())) / 2;
}

}  // namespace

QString CExcelHandler::GetColumnName(int16_t column) {
  return column < 0 ? QString() : platform::ColumnLetters(column);
}

QString CExcelHandler::GetFieldValue(int32_t row, int16_t column) {
  return m_bAttached ? m_sheet->CellText(row, column) : QString();
}

int CExcelHandler::GetRowValues(int32_t row, QByteArray* buffer) {
  if (!m_bAttached || row < 0 || row > m_nRowCount) return 0;
  return devicerecord::EncodeSheetRow(*m_sheet, row, m_nColumnCount, kMaxValueUnits, buffer);
}

int CExcelHandler::OpenWorksheet(const ExcelWorksheets& worksheets, const QString& name) {
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

int CExcelHandler::IsRowEmpty(int32_t row, int* extraColumn) const {
  *extraColumn = 0;
  if (!m_bAttached || row < 0 || row > m_nRowCount) return 0;
  bool extra = false;
  const bool empty = IsWorksheetRowEmpty(*m_sheet, row, m_nColumnCount, &extra);
  *extraColumn = extra ? 1 : 0;
  return empty ? 1 : 0;
}

QStringList CExcelHandler::RowTexts(int32_t row) const {
  QStringList texts;
  if (!m_bAttached || row < 0 || row >= m_nRowCount) return texts;
  texts.reserve(m_nColumnCount);
  for (int16_t column = 0; column < m_nColumnCount; ++column) texts.append(m_sheet->CellText(row, column));
  return texts;
}

void CExcelHandler::GetRowDigest(int32_t row, uint8_t digest[kRowDigestSize]) const {
  const QStringList texts = RowTexts(row);
  if (!texts.isEmpty()) ComputeTextDigest(MakeRowText(texts), digest);
}

bool CExcelHandler::CanWrite(QString* error) const {
  if (!m_bAttached) {
    *error = QStringLiteral("No worksheet is attached.");
    return false;
  }
  const QString fileName = QFileInfo(m_workbook->Path()).fileName();
  if (m_workbook->FromXls()) {
    *error = QStringLiteral("The workbook %1 is an .xls file, which can only be read.").arg(fileName);
    return false;
  }
  if (m_workbook->ReadOnly()) {
    *error = QStringLiteral("The workbook %1 was opened read-only.").arg(fileName);
    return false;
  }
  return true;
}

int CExcelHandler::WriteRecord(QByteArrayView record, int32_t sheetRow, uint8_t digest[kRowDigestSize],
                               QString* error) {
  if (!CanWrite(error)) return 0;
  const QList<int16_t> kinds(RecordColumnCount(record), 1);
  const std::optional<QList<devicerecord::Value>> values = devicerecord::Decode(record, kinds, error);
  if (!values || values->isEmpty()) {
    if (values) *error = QStringLiteral("The record carries no values.");
    return 0;
  }
  const qsizetype columns = std::min<qsizetype>(values->size(), m_nColumnCount);
  for (qsizetype column = 0; column < columns; ++column) {
    if (!m_sheet->WriteCell(sheetRow - 1, static_cast<int32_t>(column), values->at(column).text)) {
      *error = QStringLiteral("Sheet row %1 is beyond the sheet.").arg(sheetRow);
      return 0;
    }
  }
  LoadUsedRange();
  // The digest of the row as it now reads, which change detection compares with what it reads.
  GetRowDigest(sheetRow - 1, digest);
  return 1;
}

int CExcelHandler::AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* error) {
  return WriteRecord(record, m_nRowCount + 1, digest, error);
}

int CExcelHandler::UpdateRecord(QByteArrayView record, int32_t sheetRow, uint8_t digest[kRowDigestSize],
                                QString* error) {
  if (sheetRow < 1 || sheetRow > m_nRowCount) {
    *error = QStringLiteral("Sheet row %1 is beyond the rows of the sheet.").arg(sheetRow);
    return 0;
  }
  return WriteRecord(record, sheetRow, digest, error);
}

int CExcelHandler::DeleteRecord(int32_t sheetRow) {
  QString error;
  if (sheetRow < 1 || sheetRow > m_nRowCount || !CanWrite(&error) || !m_sheet->DeleteRow(sheetRow - 1)) return 0;
  LoadUsedRange();
  return 1;
}
