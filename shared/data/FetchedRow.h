#pragma once

#include "shared/data/FetchedCell.h"
#include "shared/devicerecord/DeviceRecord.h"

#include <sql.h>

#include <QByteArray>
#include <QList>

#include <vector>

namespace data {

// The supported values of one fetched row copied out of the bound buffers, so that they outlive
// the next fetch.
class FetchedRow {
 public:
  void Clear();
  // Copies the bytes of the value `cell` describes (its buffer is given).
  void Append(const FetchedCell& cell);

  QList<devicerecord::Value> Values() const;
  size_t CellCount() const { return m_cells.size(); }
  // The `index`-th value appended, its buffer the copy.
  FetchedCell Cell(size_t index) const;
  // The bytes the copies take.
  qsizetype ByteCount() const { return m_bytes.size(); }

 private:
  struct Stored {
    int16_t kind;
    SQLLEN length;
    qsizetype offset;
    SQLLEN capacity;
  };

  std::vector<Stored> m_cells;
  QByteArray m_bytes;
};

}  // namespace data
