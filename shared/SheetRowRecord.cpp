#include "shared/SheetRowRecord.h"

#include "platform/Worksheet.h"
#include "shared/Endian.h"

namespace {

constexpr qsizetype kLargestOffset = 0xFFFF;

}  // namespace

int EncodeSheetRow(const platform::Worksheet& sheet, int32_t row, int16_t columns, qsizetype maxUnits,
                   QByteArray* record) {
  record->fill('\0', qsizetype{2} * columns);
  for (int16_t column = 0; column < columns; ++column) {
    if (record->size() > kLargestOffset) return 0;
    endian::WriteBE<uint16_t>(reinterpret_cast<uint8_t*>(record->data()) + 2 * column,
                              static_cast<uint16_t>(record->size()));
    const QString value = sheet.CellText(row, column).left(maxUnits);
    for (const QChar unit : value) endian::AppendLE<uint16_t>(record, unit.unicode());
    endian::AppendLE<uint16_t>(record, 0);
  }
  return static_cast<int>(record->size());
}
