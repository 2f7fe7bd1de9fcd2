#include "sync/engine/ChangeItem.h"

QList<CdbEntry> ProfileChanges::DeviceSnapshot() const { return kept + ChangedEntries(); }

QList<CdbEntry> ProfileChanges::ChangedEntries() const {
  QList<CdbEntry> entries;
  for (const ChangeItem& item : items) {
    const bool accepted = item.state == ChangeItem::kAccepted;
    if ((item.kind == ChangeItem::kAdded) == accepted) entries.append(item.entry);
  }
  return entries;
}
