// Any bytes given to the text-file reader, under any format, and to the schema.ini reader are
// read without a fault; a table read is square, typed and holds only values of its types.
#include "platform/standin/SchemaIniReader.h"
#include "platform/standin/TextFileTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using platform::StandInTable;
using platform::StandInType;
using platform::TextCharset;
using platform::TextFileFormat;

// The first byte picks the format, so every branch of the reader is reached.
TextFileFormat FormatOf(uint8_t choice) {
  static constexpr char16_t kDelimiters[] = {u',', u'\t', u';', u'|'};
  TextFileFormat format;
  format.columnNamesInFirstRow = (choice & 1) != 0;
  format.delimiter = QChar(kDelimiters[(choice >> 1) & 3]);
  switch ((choice >> 3) % 5) {
    case 0: break;
    case 1: format.charset = TextCharset::Ansi; break;
    case 2: format.charset = TextCharset::Latin1; break;
    case 3: format.charset = TextCharset::Utf8; break;
    default: format.charset = TextCharset::Utf16Le; break;
  }
  return format;
}

void CheckTable(const StandInTable& table) {
  if (table.types.size() != table.columns.size()) std::abort();
  for (const QStringList& row : table.rows) {
    if (row.size() != table.columns.size()) std::abort();
    for (qsizetype column = 0; column < row.size(); ++column) {
      bool number = true;
      if (row[column].isNull()) continue;
      if (table.types[column] == StandInType::Integer) row[column].toInt(&number);
      if (table.types[column] == StandInType::Double) row[column].toDouble(&number);
      if (!number) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
  StandInTable table;
  QString error;
  if (platform::ReadTextFileTable(QStringLiteral("f.txt"), bytes, FormatOf(data[0]), &table, &error)) {
    CheckTable(table);
  } else if (error.isEmpty()) {
    std::abort();
  }
  platform::SchemaIniReader schema;
  if (platform::SchemaIniReader::Parse(bytes, &schema, &error)) {
    TextFileFormat format;
    schema.FormatOf(QStringLiteral("f.txt"), &format, &error);
  }
  return 0;
}
