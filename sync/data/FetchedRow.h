#pragma once

#include "shared/devicerecord/DeviceRecord.h"

#include <sql.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace syncservice {

// One value as a fetch left it: its column kind, the length the driver reported cut to what the
// buffer holds (SQL_NULL_DATA for NULL), and the buffer.
struct FetchedCell {
  int16_t kind = 0;
  SQLLEN length = SQL_NULL_DATA;
  const char* data = nullptr;
  SQLLEN capacity = 0;

  devicerecord::Value Value() const;
  QString DisplayText() const;
  // Appends the value's text in the row text that names the row by its digest, escaped: the
  // display text, RealDigestText for real values, nothing for NULL.
  void AppendDigestText(QString* rowText) const;
};

// The supported values of one fetched row copied out of the bound buffers, so that they outlive
// the next fetch.
class FetchedRow {
 public:
  void Clear();
  // Copies the bytes of the value `cell` describes (its buffer is given).
  void Append(const FetchedCell& cell);

  QList<devicerecord::Value> Values() const;
  // The values' digest texts, escaped, with "#" between them.
  QString RowText() const;

 private:
  struct Stored {
    int16_t kind;
    SQLLEN length;
    qsizetype offset;
    SQLLEN capacity;
  };
  FetchedCell Cell(const Stored& stored) const;

  std::vector<Stored> m_cells;
  QByteArray m_bytes;
};

}  // namespace syncservice
