#include "sync/engine/ChangeBunchSender.h"

#include "shared/Endian.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncRegistry.h"
#include "sync/engine/ConsoleLog.h"
#include "sync/engine/MessageBuilders.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceCaller.h"

#include <algorithm>

using namespace endian;

namespace {

constexpr int32_t kDesktopSource = 1;
constexpr qsizetype kAddedHeadBytes = 22;
constexpr qsizetype kDeletedBytes = 14;

qsizetype MessageSize(const ChangeItem& item) {
  return item.kind == ChangeItem::kAdded ? kAddedHeadBytes + item.row.size() : kDeletedBytes;
}

void AppendAdded(QByteArray* bunch, int32_t profileId, const ChangeItem& item) {
  AppendLE<uint16_t>(bunch, messages::kRecordAdded);
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(profileId));
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(item.row.size() + 12));
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(item.entry.recordSource));
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(item.entry.recordIndex));
  AppendBE<uint32_t>(bunch, static_cast<uint32_t>(item.position));
  bunch->append(item.row);
}

void AppendDeleted(QByteArray* bunch, int32_t profileId, const ChangeItem& item) {
  AppendLE<uint16_t>(bunch, messages::kRecordDeleted);
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(profileId));
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(item.entry.recordSource));
  AppendLE<uint32_t>(bunch, static_cast<uint32_t>(item.entry.recordIndex));
}

QString Prefix(bool last) { return last ? QString() : QStringLiteral("<Bunch> "); }

void LogStop() { WriteSyncServiceLog(-1, QStringLiteral("Stop SyncService Event occurs.")); }

}  // namespace

ChangeBunchSender::ChangeBunchSender(int32_t profileId, const SnapshotJournal& journal, ProfileChanges* changes)
    : m_nProfileId(profileId), m_journal(journal), m_pChanges(changes) {
  m_bunch.reserve(kBunchBytes);
}

ChangeBunchSender::Outcome ChangeBunchSender::Send() {
  QList<ChangeItem>& items = m_pChanges->items;
  for (qsizetype next = NextToSend(0); next < items.size();) {
    const qsizetype end = BunchEnd(next);
    // The bunch's additions take their record indexes in one step before it is built, so that a
    // refused bunch gives back exactly the indexes taken after the last accepted one.
    if (!AllocateIndexes(next, end)) {
      TakeBack(true);
      return Outcome::Refused;
    }
    for (qsizetype i = next; i < end; ++i) {
      if (items[i].state != ChangeItem::kNotSent) continue;
      if (SyncStopRequested()) {
        LogStop();
        return Outcome::Stopped;
      }
      Append(&items[i]);
    }
    next = NextToSend(end);
    const bool last = next == items.size();
    if (last && SyncStopRequested()) {
      LogStop();
      TakeBack(false);
      return Outcome::Stopped;
    }
    switch (SendBunch(last)) {
      case BunchResult::Accepted: break;
      case BunchResult::Refused:
      case BunchResult::Unanswered: return Outcome::Refused;
      case BunchResult::Stopped: return Outcome::Stopped;
    }
  }
  return Outcome::Sent;
}

qsizetype ChangeBunchSender::NextToSend(qsizetype from) const {
  const QList<ChangeItem>& items = m_pChanges->items;
  while (from < items.size() && items[from].state != ChangeItem::kNotSent) ++from;
  return from;
}

qsizetype ChangeBunchSender::BunchEnd(qsizetype first) const {
  const QList<ChangeItem>& items = m_pChanges->items;
  qsizetype bytes = 0;
  int messages = 0;
  qsizetype end = first;
  for (; end < items.size(); ++end) {
    if (items[end].state != ChangeItem::kNotSent) continue;
    // A message larger than a bunch goes alone.
    if (messages >= kBunchMessages || (messages > 0 && bytes + MessageSize(items[end]) > kBunchBytes)) break;
    bytes += MessageSize(items[end]);
    ++messages;
  }
  return end;
}

bool ChangeBunchSender::AllocateIndexes(qsizetype first, qsizetype end) {
  QList<ChangeItem>& items = m_pChanges->items;
  const auto isAddition = [](const ChangeItem& item) {
    return item.state == ChangeItem::kNotSent && item.kind == ChangeItem::kAdded;
  };
  const auto additions = static_cast<int32_t>(std::count_if(items.cbegin() + first, items.cbegin() + end, isAddition));
  if (additions == 0) return true;
  int32_t index = AllocateNextRecIndex(m_nProfileId, additions);
  if (index < 0) {
    WriteSyncServiceLog(-1, QStringLiteral("Failed to Get the Next Record Index of Profile %1 (%2); its changes wait "
                                           "for the next interval.")
                                .arg(m_nProfileId)
                                .arg(index));
    return false;
  }
  if (m_nFirstIndex == -1) m_nFirstIndex = index;
  for (qsizetype i = first; i < end; ++i) {
    if (!isAddition(items[i])) continue;
    items[i].entry.recordSource = kDesktopSource;
    items[i].entry.recordIndex = index++;
  }
  return true;
}

void ChangeBunchSender::Append(ChangeItem* item) {
  if (item->kind == ChangeItem::kAdded) {
    AppendAdded(&m_bunch, m_nProfileId, *item);
    ++m_nAdded;
  } else {
    AppendDeleted(&m_bunch, m_nProfileId, *item);
    ++m_nDeleted;
  }
  ++m_nMessages;
  item->state = ChangeItem::kInBunch;
}

ChangeBunchSender::BunchResult ChangeBunchSender::SendBunch(bool last) {
  WriteSyncServiceLogAndConsole(last ? 44 : -1, Prefix(last) + QStringLiteral("Change Found (Added<%1>, Deleted<%2>) in "
                                                                             "Profile : %3 Send to Web Service.")
                                                                    .arg(m_nAdded)
                                                                    .arg(m_nDeleted)
                                                                    .arg(m_nProfileId));
  // Without the note a crash during the exchange could not tell which records the devices hold.
  m_bNoted = Note(BunchChanges(SnapshotChange::kAdd, std::nullopt, true));
  const BunchResult result = m_bNoted ? Transmit() : BunchResult::Refused;
  switch (result) {
    case BunchResult::Stopped:
      LogStop();
      TakeBack(false);
      break;
    case BunchResult::Accepted:
      WriteSyncServiceLogAndConsole(
          last ? 45 : -1,
          Prefix(last) + QStringLiteral("Successful to Send the Changed Data in Profile %1 to Web Service.").arg(m_nProfileId));
      Accept();
      break;
    case BunchResult::Unanswered:
      WriteSyncServiceLogAndConsole(
          -1, Prefix(last) + QStringLiteral("No Answer to the Changed Data in Profile %1: its additions are in doubt and "
                                            "are deleted before they go again.")
                                 .arg(m_nProfileId));
      Doubt();
      break;
    case BunchResult::Refused:
      if (!last)
        WriteSyncServiceLogAndConsole(
            -1, QStringLiteral("<Bunch> Failed to Send the Changed Data in Profile %1 to Web Service.").arg(m_nProfileId));
      TakeBack(true);
      if (last)
        WriteSyncServiceLogAndConsole(
            52, QStringLiteral("Failed to Send the Changed Data in Profile %1 to Web Service.").arg(m_nProfileId));
      break;
  }
  return result;
}

ChangeBunchSender::BunchResult ChangeBunchSender::Transmit() const {
  const SyncSemaphoreHold hold(ChangeDetectSemaphore());
  if (!hold.Held()) return BunchResult::Stopped;
  switch (CWebServiceCaller().Deliver(m_bunch)) {
    case CWebServiceCaller::Delivery::Taken: return BunchResult::Accepted;
    case CWebServiceCaller::Delivery::Refused: return BunchResult::Refused;
    case CWebServiceCaller::Delivery::Unknown: return BunchResult::Unanswered;
  }
  return BunchResult::Refused;
}

QList<SnapshotChange> ChangeBunchSender::BunchChanges(SnapshotChange::Kind forAdded,
                                                      std::optional<SnapshotChange::Kind> forDeleted,
                                                      bool inDoubt) const {
  QList<SnapshotChange> changes;
  for (const ChangeItem& item : m_pChanges->items) {
    if (item.state != ChangeItem::kInBunch) continue;
    if (item.kind == ChangeItem::kAdded) {
      changes.append({forAdded, inDoubt ? CdbEntry::InDoubt(item.entry.recordSource, item.entry.recordIndex) : item.entry});
    } else if (forDeleted) {
      changes.append({*forDeleted, item.entry});
    }
  }
  return changes;
}

bool ChangeBunchSender::Note(const QList<SnapshotChange>& changes) const {
  if (m_journal.Append(changes)) return true;
  WriteSyncServiceLog(-1, QStringLiteral("Failed to Write the Journal %1 of Profile %2.").arg(m_journal.Path()).arg(m_nProfileId));
  return false;
}

void ChangeBunchSender::Accept() {
  // Unwritten, the note leaves the additions in doubt: they are deleted and sent again.
  Note(BunchChanges(SnapshotChange::kSetDigest, SnapshotChange::kRemove, false));
  for (ChangeItem& item : m_pChanges->items) {
    if (item.state == ChangeItem::kInBunch) item.state = ChangeItem::kAccepted;
  }
  ClearBunch();
  m_nFirstIndex = -1;
}

void ChangeBunchSender::TakeBack(bool rollBack) {
  // The indexes go out again only once the journal no longer names them.
  const bool voided = !m_bNoted || Note(BunchChanges(SnapshotChange::kRemove, std::nullopt, true));
  if (rollBack && voided) RollBackIndex();
  for (ChangeItem& item : m_pChanges->items) {
    if (item.state == ChangeItem::kInBunch) item.state = ChangeItem::kNotSent;
  }
  ClearBunch();
}

void ChangeBunchSender::Doubt() {
  for (ChangeItem& item : m_pChanges->items) {
    if (item.state != ChangeItem::kInBunch) continue;
    item.state = item.kind == ChangeItem::kAdded ? ChangeItem::kInDoubt : ChangeItem::kNotSent;
  }
  ClearBunch();
  m_nFirstIndex = -1;
}

void ChangeBunchSender::RollBackIndex() const {
  if (m_nFirstIndex == -1) return;
  if (!SetNextRecIndex(m_nProfileId, m_nFirstIndex))
    WriteSyncServiceLog(-1, QStringLiteral("Failed to Set the Next Record Index Settings of Profile %1.").arg(m_nProfileId));
}

void ChangeBunchSender::ClearBunch() {
  m_bunch.resize(0);  // keeps the reserved capacity
  m_nAdded = 0;
  m_nDeleted = 0;
  m_nMessages = 0;
  m_bNoted = false;
}
