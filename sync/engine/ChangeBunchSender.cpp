#include "sync/engine/ChangeBunchSender.h"

#include "shared/Endian.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncRegistry.h"
#include "sync/engine/ConsoleLog.h"
#include "sync/engine/MessageBuilders.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceCaller.h"

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
  for (ChangeItem& item : m_pChanges->items) {
    if (item.state != ChangeItem::kNotSent) continue;
    if (SyncStopRequested()) {
      LogStop();
      return Outcome::Stopped;
    }
    // The bunch is sent before the item takes its record index, so that a refused bunch gives
    // back exactly the indexes taken after the last accepted one.
    const bool full = m_nMessages >= kBunchMessages || m_bunch.size() + MessageSize(item) > kBunchBytes;
    if (m_nMessages > 0 && full) {
      const BunchResult result = SendBunch(false);
      if (result == BunchResult::Stopped) return Outcome::Stopped;
      if (result != BunchResult::Accepted) return Outcome::Refused;
    }
    if (item.kind == ChangeItem::kAdded && !AllocateIndex(&item)) {
      TakeBack(true);
      return Outcome::Refused;
    }
    Append(&item);
  }
  if (SyncStopRequested()) {
    LogStop();
    TakeBack(false);
    return Outcome::Stopped;
  }
  switch (SendBunch(true)) {
    case BunchResult::Accepted: return Outcome::Sent;
    case BunchResult::Refused:
    case BunchResult::Unanswered: return Outcome::Refused;
    case BunchResult::Stopped: return Outcome::Stopped;
  }
  return Outcome::Stopped;
}

bool ChangeBunchSender::AllocateIndex(ChangeItem* item) {
  const int32_t index = AllocateNextRecIndex(m_nProfileId);
  if (index < 0) {
    WriteSyncServiceLog(-1, QStringLiteral("Failed to Get the Next Record Index of Profile %1 (%2); its changes wait "
                                           "for the next interval.")
                                .arg(m_nProfileId)
                                .arg(index));
    return false;
  }
  if (m_nFirstIndex == -1) m_nFirstIndex = index;
  item->entry.recordSource = kDesktopSource;
  item->entry.recordIndex = index;
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
