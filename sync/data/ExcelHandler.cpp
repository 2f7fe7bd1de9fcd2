#include "sync/data/ExcelHandler.h"

#include "shared/Endian.h"
#include "shared/devicerecord/DeviceRecord.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace syncservice {

namespace {

constexpr qsizetype kMaxValueUnits = CExcelHandler::kColumnSize / 2;

// The number of values a device record carries, told by its first offset (the table's size).
qsizetype RecordColumnCount(QByteArrayView record) {
  if (record.size() < 2) return 0;
  return endian::ReadBE<uint16_t>(reinterpret_cast<const uint8_t*>(record.data())) / 2;
}

}  // namespace

int CExcelHandler::GetRowValues(int32_t row, QByteArray* buffer) {
  return Rows().EncodeRow(row, kMaxValueUnits, buffer);
}

int CExcelHandler::IsRowEmpty(int32_t row, int* extraColumn) const {
  bool extra = false;
  const bool empty = Rows().IsRowEmpty(row, &extra);
  *extraColumn = extra ? 1 : 0;
  return empty ? 1 : 0;
}

QStringList CExcelHandler::RowTexts(int32_t row) const {
  QStringList texts;
  const int16_t columns = Rows().ColumnCount();
  if (!Rows().IsAttached() || row < 0 || row >= Rows().RowCount()) return texts;
  texts.reserve(columns);
  for (int16_t column = 0; column < columns; ++column) texts.append(Rows().CellText(row, column));
  return texts;
}

void CExcelHandler::GetRowDigest(int32_t row, uint8_t digest[kRowDigestSize]) const {
  const QStringList texts = RowTexts(row);
  if (!texts.isEmpty()) ComputeTextDigest(MakeRowText(texts), digest);
}

bool CExcelHandler::CanWrite(QString* error) const {
  if (!Rows().IsAttached()) {
    *error = QStringLiteral("No worksheet is attached.");
    return false;
  }
  const platform::Workbook& workbook = Rows().Workbook();
  const QString fileName = QFileInfo(workbook.Path()).fileName();
  if (workbook.FromXls()) {
    *error = QStringLiteral("The workbook %1 is an .xls file, which can only be read.").arg(fileName);
    return false;
  }
  if (workbook.ReadOnly()) {
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
  const qsizetype columns = std::min<qsizetype>(values->size(), Rows().ColumnCount());
  for (qsizetype column = 0; column < columns; ++column) {
    if (!Rows().WriteCell(sheetRow - 1, static_cast<int32_t>(column), values->at(column).text)) {
      *error = QStringLiteral("Sheet row %1 is beyond the sheet.").arg(sheetRow);
      return 0;
    }
  }
  Rows().ReloadUsedRange();
  // The digest of the row as it now reads, which change detection compares with what it reads.
  GetRowDigest(sheetRow - 1, digest);
  return 1;
}

int CExcelHandler::AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* error) {
  return WriteRecord(record, Rows().RowCount() + 1, digest, error);
}

int CExcelHandler::UpdateRecord(QByteArrayView record, int32_t sheetRow, uint8_t digest[kRowDigestSize],
                                QString* error) {
  if (sheetRow < 1 || sheetRow > Rows().RowCount()) {
    *error = QStringLiteral("Sheet row %1 is beyond the rows of the sheet.").arg(sheetRow);
    return 0;
  }
  return WriteRecord(record, sheetRow, digest, error);
}

int CExcelHandler::DeleteRecord(int32_t sheetRow) {
  QString error;
  if (sheetRow < 1 || sheetRow > Rows().RowCount() || !CanWrite(&error)) return 0;
  return Rows().DeleteRow(sheetRow - 1) ? 1 : 0;
}

}  // namespace syncservice
