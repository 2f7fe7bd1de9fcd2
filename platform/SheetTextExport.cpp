#include "platform/SheetTextExport.h"

#include "platform/Worksheet.h"

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
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

}  // namespace platform
