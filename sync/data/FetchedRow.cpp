#include "sync/data/FetchedRow.h"

#include "shared/odbc/ColumnKind.h"
#include "sync/data/FieldValue.h"
#include "sync/data/RowDigest.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

namespace syncservice {
namespace {

bool IsText(int16_t kind) { return kind == ColumnKind::Text || kind == ColumnKind::Numeric; }

template <typename T>
T Read(const char* data) {
  T value{};
  std::memcpy(&value, data, sizeof(T));
  return value;
}

devicerecord::Timestamp TimestampOf(int16_t kind, const char* data) {
  using devicerecord::Timestamp;
  if (kind == ColumnKind::Date) {
    const auto d = Read<DATE_STRUCT>(data);
    return Timestamp::Of(d.year, d.month, d.day);
  }
  if (kind == ColumnKind::Time) {
    const auto t = Read<TIME_STRUCT>(data);
    return Timestamp::Of(1899, 12, 30, t.hour, t.minute, t.second);
  }
  const auto t = Read<TIMESTAMP_STRUCT>(data);
  return Timestamp::Of(t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction);
}

}  // namespace

devicerecord::Value FetchedCell::Value() const {
  using devicerecord::Value;
  if (data == nullptr || length == SQL_NULL_DATA) return Value::Null(kind);
  switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Numeric:
      return Value::OfText(kind, QString::fromUtf16(reinterpret_cast<const char16_t*>(data), std::max<SQLLEN>(length, 0) / 2));
    case ColumnKind::Int32: return Value::OfInteger(kind, Read<int32_t>(data));
    case ColumnKind::Int16: return Value::OfInteger(kind, Read<int16_t>(data));
    case ColumnKind::Float: return Value::OfReal(kind, Read<float>(data));
    case ColumnKind::Double: return Value::OfReal(kind, Read<double>(data));
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::Timestamp: return Value::OfTimestamp(kind, TimestampOf(kind, data));
    default: return Value::OfInteger(kind, Read<uint8_t>(data));
  }
}

QString FetchedCell::DisplayText() const {
  if (data == nullptr) return {};
  return FormatFieldValue(kind, length, data, capacity);
}

void FetchedCell::AppendDigestText(QString* rowText) const {
  // Real values and NULLs have digest texts of their own: their display text is not made.
  if (data == nullptr || length == SQL_NULL_DATA) return;
  switch (kind) {
    case ColumnKind::Float: rowText->append(RealDigestText(kind, Read<float>(data))); return;
    case ColumnKind::Double: rowText->append(RealDigestText(kind, Read<double>(data))); return;
    case ColumnKind::Text:
      // Straight from the buffer: most of a row's text, and no copy of it is needed.
      if (length > 0) AppendRowTextValue(QStringView(reinterpret_cast<const char16_t*>(data), length / 2), rowText);
      return;
    default: AppendRowTextValue(DisplayText(), rowText);
  }
}

void FetchedRow::Clear() {
  m_cells.clear();
  m_bytes.resize(0);
}

void FetchedRow::Append(const FetchedCell& cell) {
  // A text keeps the bytes it holds, a fixed-size value its whole buffer.
  const SQLLEN bytes = IsText(cell.kind) ? std::max<SQLLEN>(cell.length, 0) : cell.capacity;
  // Each value starts on an 8-byte boundary, as in its own buffer: a text cut to an odd length
  // must not leave the next one unaligned.
  m_bytes.resize((m_bytes.size() + 7) & ~qsizetype{7});
  m_cells.push_back({cell.kind, cell.length, m_bytes.size(), bytes});
  m_bytes.append(cell.data, bytes);
}

FetchedCell FetchedRow::Cell(const Stored& stored) const {
  return {stored.kind, stored.length, m_bytes.constData() + stored.offset, stored.capacity};
}

QList<devicerecord::Value> FetchedRow::Values() const {
  QList<devicerecord::Value> values;
  values.reserve(static_cast<qsizetype>(m_cells.size()));
  for (const Stored& stored : m_cells) values.append(Cell(stored).Value());
  return values;
}

QString FetchedRow::RowText() const {
  QString text;
  text.reserve(m_bytes.size() + static_cast<qsizetype>(m_cells.size()) * 8);
  for (size_t i = 0; i < m_cells.size(); ++i) {
    if (i > 0) text += u'#';
    Cell(m_cells[i]).AppendDigestText(&text);
  }
  return text;
}

}  // namespace syncservice
