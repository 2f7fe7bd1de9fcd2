#pragma once

#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/RowDigest.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>

#include <cstdint>

namespace syncservice { class ProfileDataReader; }

// The desktop rows that a run of device changes names, by their digest: found in one read of
// the profile's rows, and kept true across the run's own writes (an update gives its row a new
// digest, a delete takes it out, an add puts a new row in). For tables whose rows are written by
// key, where no two rows share a digest.
class TurnRowLookup {
 public:
  using Row = QList<devicerecord::Value>;

  // Reads the reader's rows once for those whose digest is in `digests`; false when a row could
  // not be read.
  bool Build(syncservice::ProfileDataReader& reader, const QSet<QByteArray>& digests);

  // The values of the row that carries `digest`; null when no row does. Valid until the next
  // change of the lookup.
  Row* Find(const uint8_t digest[kRowDigestSize]);
  // The row of `digest` now carries `row` and is found by `newDigest` (an update, or an add
  // with `digest` null).
  void Move(const uint8_t* digest, const uint8_t newDigest[kRowDigestSize], Row row);
  // The row of `digest` is gone.
  void Forget(const uint8_t digest[kRowDigestSize]);

  static QByteArray Key(const uint8_t digest[kRowDigestSize]) {
    return QByteArray(reinterpret_cast<const char*>(digest), kRowDigestSize);
  }

 private:
  QHash<QByteArray, Row> m_rows;
};
