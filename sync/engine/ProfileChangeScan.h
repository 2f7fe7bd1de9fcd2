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

// The digest of row `row` of the profile's query: 1, or 0 when the row could not be read.
using RowDigestFetch = std::function<int(int32_t row, uint8_t digest[kRowDigestSize])>;
// The device record of the row whose digest came last: its length, or
// devicerecord::kRecordNotEncodable: such a row is skipped, the rest of the profile goes on. Only
// rows that go out are encoded.
using FetchedRowRecord = std::function<int(QByteArray* record)>;

enum class Outcome {
  Unchanged,
  Changed,
  Stopped,     // a stop request came during the scan
  ReadFailed,  // a row could not be read: what looks vanished may only be unread
};

Outcome Compare(int32_t profileId, QList<CdbEntry> snapshot, int32_t rowCount, const RowDigestFetch& fetchDigest,
                const FetchedRowRecord& recordOfRow, ProfileChanges* changes);

}  // namespace changescan
