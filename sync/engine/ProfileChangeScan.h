#pragma once

#include "sync/data/RowDigest.h"
#include "sync/engine/ChangeItem.h"

#include <QByteArray>

#include <cstdint>
#include <functional>

// The comparison of a profile's current rows with its snapshot: rows whose digest the snapshot
// lacks are added rows, snapshot entries no row matches are deleted ones. Rows and entries that
// back synchronisation has just written are neither.
namespace changescan {

// Row `row` of the profile's query as a device record and its digest; the record's length, 0
// when the row could not be read, devicerecord::kRecordNotEncodable when it cannot be encoded
// (the digest is then given): such a row is skipped, the rest of the profile goes on.
using RowFetch = std::function<int(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize])>;

enum class Outcome {
  Unchanged,
  Changed,
  Stopped,     // a stop request came during the scan
  ReadFailed,  // a row could not be read: what looks vanished may only be unread
};

Outcome Compare(int32_t profileId, QList<CdbEntry> snapshot, int32_t rowCount, const RowFetch& fetch,
                ProfileChanges* changes);

}  // namespace changescan
