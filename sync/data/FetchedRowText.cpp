#include "sync/data/FetchedRowText.h"

#include "shared/odbc/ColumnKind.h"
#include "sync/data/FieldValue.h"
#include "sync/data/RowDigest.h"

#include <sqlext.h>

namespace syncservice {
namespace {

void AppendDigestText(const data::FetchedCell& cell, QString* rowText) {
  // Real values and NULLs have digest texts of their own: their display text is not made.
  if (cell.data == nullptr || cell.length == SQL_NULL_DATA) return;
  switch (cell.kind) {
    case ColumnKind::Float:
    case ColumnKind::Double: rowText->append(RealDigestText(cell.kind, cell.Value().real)); return;
    case ColumnKind::Text:
      // Straight from the buffer: most of a row's text, and no copy of it is needed.
      if (cell.length > 0) {
        AppendRowTextValue(QStringView(reinterpret_cast<const char16_t*>(cell.data), cell.length / 2), rowText);
      }
      return;
    default: AppendRowTextValue(cell.DisplayText(), rowText);
  }
}

}  // namespace

QString RowTextOf(const data::FetchedRow& row) {
  QString text;
  text.reserve(row.ByteCount() + static_cast<qsizetype>(row.CellCount()) * 8);
  for (size_t i = 0; i < row.CellCount(); ++i) {
    if (i > 0) text += u'#';
    AppendDigestText(row.Cell(i), &text);
  }
  return text;
}

}  // namespace syncservice
