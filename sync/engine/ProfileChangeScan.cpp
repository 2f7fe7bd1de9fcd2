#include "sync/engine/ProfileChangeScan.h"

#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/SnapshotIndex.h"
#include "sync/engine/SyncStatus.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace changescan {
namespace {

// Whether back synchronisation wrote the row of `key` since the last pass; nothing when a stop
// came while waiting for the map.
std::optional<bool> WrittenByBackSync(int32_t profileId, const QString& key) {
  const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
  if (!hold.Held()) return std::nullopt;
  return BackSyncDigestMap::Instance().Contains(profileId, key);
}

}  // namespace

Outcome Compare(int32_t profileId, QList<CdbEntry> snapshot, int32_t rowCount, const RowDigestFetch& fetchDigest,
                const FetchedRowRecord& recordOfRow, ProfileChanges* changes) {
  changes->kept.reserve(static_cast<size_t>(snapshot.size()));
  SnapshotIndex index(std::move(snapshot));
  SnapshotIndex::Digest digest{};
  for (int32_t row = 0; row < rowCount; ++row) {
    if (SyncStopRequested()) return Outcome::Stopped;
    if (fetchDigest(row, digest.data()) == 0) {
      WriteSyncServiceLog(-1, QStringLiteral("Row %1 of Profile %2 could not be read; its changes wait for the next "
                                             "interval.")
                                  .arg(row)
                                  .arg(profileId));
      return Outcome::ReadFailed;
    }
    if (const CdbEntry* entry = index.Match(digest)) {
      changes->kept.push_back(index.NumberOf(*entry));
      continue;
    }
    const std::optional<bool> written = WrittenByBackSync(profileId, SnapshotIndex::KeyOf(digest, 0));
    if (!written) return Outcome::Stopped;
    if (*written) continue;
    ChangeItem item;
    if (recordOfRow(&item.row) == devicerecord::kRecordNotEncodable) {
      // It can never travel: left out, and whatever the devices hold of it stays with them.
      WriteSyncServiceLog(-1, QStringLiteral("Row %1 of Profile %2 cannot be encoded for the devices and is skipped.")
                                  .arg(row)
                                  .arg(profileId));
      continue;
    }
    item.entry.digest = digest;
    item.kind = ChangeItem::kAdded;
    item.position = row;
    changes->items.append(std::move(item));
  }
  if (SyncStopRequested()) return Outcome::Stopped;
  // Walked whenever an entry is unmatched: a count shortcut would miss rows skipped above.
  bool stopped = false;
  if (!index.AllMatched()) {
    index.ForEachUnmatched([&](const CdbEntry& entry, const QString& key) {
      if (stopped || (stopped = SyncStopRequested())) return;
      const std::optional<bool> written = WrittenByBackSync(profileId, key);
      if (!written) {
        stopped = true;
      } else if (*written) {
        changes->kept.push_back(index.NumberOf(entry));
      } else {
        ChangeItem item;
        item.entry = entry;
        item.kind = ChangeItem::kDeleted;
        changes->items.append(std::move(item));
      }
    });
  }
  if (stopped) return Outcome::Stopped;
  changes->loaded = index.TakeEntries();
  // Records in doubt are deleted before anything else goes, so that no row stands on a device
  // twice, under its old and its new index.
  std::stable_partition(changes->items.begin(), changes->items.end(),
                        [](const ChangeItem& item) { return item.kind == ChangeItem::kDeleted && item.entry.IsInDoubt(); });
  return changes->items.isEmpty() ? Outcome::Unchanged : Outcome::Changed;
}

}  // namespace changescan
