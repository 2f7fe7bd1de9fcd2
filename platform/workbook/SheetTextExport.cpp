#include "platform/workbook/SheetTextExport.h"

#include "platform/text/Utf16Text.h"
#include "platform/workbook/Worksheet.h"

namespace platform {
namespace {

QString Quoted(const QString& value) {
  const bool needsQuotes =
      value.contains(u'\t') || value.contains(u'\n') || value.contains(u'\r') || value.contains(u'"');
  if (!needsQuotes) return value;
  QString doubled = value;
  doubled.replace(u'"', QStringLiteral("\"\""));
  return u'"' + doubled + u'"';
}

}  // namespace

QByteArray UnicodeTextOf(const Worksheet& sheet) {
  QString text(QChar(0xFEFF));
  for (int32_t row = 0; row < sheet.RowCount(); ++row) {
    for (int32_t column = 0; column < sheet.ColumnCount(); ++column) {
      if (column > 0) text += u'\t';
      text += Quoted(sheet.CellText(row, column));
    }
    text += QStringLiteral("\r\n");
  }
  return Utf16LeBytes(text);
}

}  // namespace platform
