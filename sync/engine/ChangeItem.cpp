#include "sync/engine/ChangeItem.h"

QList<CdbEntry> ProfileChanges::DeviceSnapshot() const {
  QList<CdbEntry> snapshot;
  snapshot.reserve(kept.size() + items.size());
  snapshot.append(kept);
  for (const ChangeItem& item : items) {
    const bool accepted = item.state == ChangeItem::kAccepted;
    if ((item.kind == ChangeItem::kAdded) == accepted) snapshot.append(item.entry);
  }
  return snapshot;
}
