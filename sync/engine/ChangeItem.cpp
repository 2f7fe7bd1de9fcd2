#include "sync/engine/ChangeItem.h"

#include <algorithm>

QList<CdbEntry> ProfileChanges::DeviceSnapshot() const {
  const QList<CdbEntry> changed = ChangedEntries();
  QList<CdbEntry> entries(static_cast<qsizetype>(kept.size()) + changed.size());
  // Through plain pointers: a profile may keep millions of entries.
  const CdbEntry* const from = loaded.constData();
  CdbEntry* out = entries.data();
  for (const uint32_t number : kept) *out++ = from[number];
  std::copy(changed.cbegin(), changed.cend(), out);
  return entries;
}

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
