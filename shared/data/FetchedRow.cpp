#include "shared/data/FetchedRow.h"

#include "shared/odbc/ColumnKind.h"

#include <algorithm>
#include <cstring>

namespace data {

void FetchedRow::Clear() {
  m_cells.clear();
  m_bytes.resize(0);
}

void FetchedRow::Append(const FetchedCell& cell) {
  // A text keeps the bytes it holds, a fixed-size value its whole buffer.
  const bool text = cell.kind == ColumnKind::Text || cell.kind == ColumnKind::Numeric;
  const SQLLEN bytes = text ? std::max<SQLLEN>(cell.length, 0) : cell.capacity;
  // Each value starts on an 8-byte boundary, as in its own buffer: a text cut to an odd length
  // must not leave the next one unaligned.
  const qsizetype offset = (m_bytes.size() + 7) & ~qsizetype{7};
  m_bytes.resize(offset + bytes);
  if (bytes > 0) std::memcpy(m_bytes.data() + offset, cell.data, static_cast<size_t>(bytes));
  m_cells.push_back({cell.kind, cell.length, offset, bytes});
}

FetchedCell FetchedRow::Cell(size_t index) const {
  const Stored& stored = m_cells[index];
  return {stored.kind, stored.length, m_bytes.constData() + stored.offset, stored.capacity};
}

QList<devicerecord::Value> FetchedRow::Values() const {
  QList<devicerecord::Value> values;
  values.reserve(static_cast<qsizetype>(m_cells.size()));
  for (size_t i = 0; i < m_cells.size(); ++i) values.append(Cell(i).Value());
  return values;
}

}  // namespace data
