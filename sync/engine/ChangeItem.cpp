#include "sync/engine/ChangeItem.h"

#include <algorithm>

QList<CdbEntry> ProfileChanges::DeviceSnapshot() const { return kept + ChangedEntries(); }

QList<CdbEntry> ProfileChanges::ChangedEntries() const {
  QList<CdbEntry> entries;
  for (const ChangeItem& item : items) {
    if (item.kind == ChangeItem::kDeleted) {
      if (item.state != ChangeItem::kAccepted) entries.append(item.entry);
    } else if (item.state == ChangeItem::kAccepted) {
      entries.append(item.entry);
    } else if (item.state == ChangeItem::kInDoubt) {
      entries.append(CdbEntry::InDoubt(item.entry.recordSource, item.entry.recordIndex));
    }
  }
  return entries;
}

bool ProfileChanges::AnyWentOut() const {
  return std::any_of(items.cbegin(), items.cend(), [](const ChangeItem& item) {
    return item.state == ChangeItem::kAccepted || item.state == ChangeItem::kInDoubt;
  });
}
