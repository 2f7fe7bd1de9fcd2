#include "shared/devicerecord/SheetRowRecord.h"

#include "platform/workbook/Worksheet.h"
#include "shared/devicerecord/RecordWriter.h"

namespace devicerecord {

int EncodeSheetRow(const platform::Worksheet& sheet, int32_t row, int16_t columns, qsizetype maxUnits,
                   QByteArray* record) {
  RecordWriter writer(record, columns);
  for (int16_t column = 0; column < columns; ++column) {
    if (!writer.AppendText(sheet.CellText(row, column).left(maxUnits))) return 0;
  }
  return static_cast<int>(record->size());
}

}  // namespace devicerecord
