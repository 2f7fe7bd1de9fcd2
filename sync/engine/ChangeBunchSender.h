#pragma once

#include "sync/engine/CdbFile.h"
#include "sync/engine/ChangeItem.h"
#include "sync/engine/SnapshotJournal.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// Sends the changes of one profile to the web service as record-added and record-deleted
// messages, in bunches of at most kBunchBytes and kBunchMessages (a larger single message goes
// alone). The snapshot's journal always describes what the devices may hold: before a bunch goes
// out its additions are noted there as in doubt, and its answer settles them (taken: the
// additions with their digests, the deletions done; refused: the note void). A bunch without an
// answer leaves its additions in doubt, so the next pass deletes them before they go again under
// new indexes. A refused or unanswered bunch ends the profile's sending for this turn; a refused
// one hands its record indexes out again. The caller writes the snapshot whole at the end.
class ChangeBunchSender {
 public:
  static constexpr qsizetype kBunchBytes = 1024 * 1024;
  static constexpr int kBunchMessages = 100;

  enum class Outcome {
    Sent,     // every change was accepted
    Refused,  // a bunch was refused (or no record index could be had); the rest waits
    Stopped,  // a stop request ended the pass
  };

  ChangeBunchSender(int32_t profileId, const SnapshotJournal& journal, ProfileChanges* changes);

  Outcome Send();

 private:
  enum class BunchResult { Accepted, Refused, Unanswered, Stopped };

  // The first item not sent yet from `from` on; the end of the items when there is none.
  qsizetype NextToSend(qsizetype from) const;
  // The end of the bunch that starts with item `first`: as many items as fit.
  qsizetype BunchEnd(qsizetype first) const;
  // Gives the bunch's added rows their record indexes; false when none could be had.
  bool AllocateIndexes(qsizetype first, qsizetype end);
  void Append(ChangeItem* item);
  BunchResult SendBunch(bool last);
  // The web service's answer to the bunch; Stopped when a stop came before the exchange.
  BunchResult Transmit() const;
  // The journal changes of the bunch's items: `forAdded` of each addition, `forDeleted` of each
  // deletion (none when `forDeleted` is not given).
  QList<SnapshotChange> BunchChanges(SnapshotChange::Kind forAdded, std::optional<SnapshotChange::Kind> forDeleted,
                                     bool inDoubt) const;
  bool Note(const QList<SnapshotChange>& changes) const;
  void Accept();
  // The bunch did not go or was refused: its note is made void, its items wait. `rollBack` hands
  // its record indexes out again.
  void TakeBack(bool rollBack);
  void Doubt();
  void RollBackIndex() const;
  void ClearBunch();

  const int32_t m_nProfileId;
  const SnapshotJournal& m_journal;
  ProfileChanges* m_pChanges;
  QByteArray m_bunch;
  int m_nAdded = 0;
  int m_nDeleted = 0;
  int m_nMessages = 0;
  bool m_bNoted = false;  // the journal names the bunch's additions as in doubt
  // The first record index taken since the last accepted bunch; -1 when none.
  int32_t m_nFirstIndex = -1;
};
