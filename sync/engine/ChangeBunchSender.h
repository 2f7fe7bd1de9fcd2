#pragma once

#include "sync/engine/CdbFile.h"
#include "sync/engine/ChangeItem.h"

#include <QByteArray>

#include <cstdint>

// Sends the changes of one profile to the web service as record-added and record-deleted
// messages, in bunches of at most kBunchBytes and kBunchMessages (a larger single message goes
// alone), and rewrites the snapshot after each accepted bunch so that it always describes what
// the devices hold. A refused bunch ends the profile's sending for this turn and hands its record
// indexes out again.
class ChangeBunchSender {
 public:
  static constexpr qsizetype kBunchBytes = 1024 * 1024;
  static constexpr int kBunchMessages = 100;

  enum class Outcome {
    Sent,     // every change was accepted
    Refused,  // a bunch was refused (or no record index could be had); the rest waits
    Stopped,  // a stop request ended the pass
  };

  ChangeBunchSender(int32_t profileId, const CCdbFile& snapshot, ProfileChanges* changes);

  Outcome Send();

 private:
  enum class BunchResult { Accepted, Refused, Stopped };

  // Gives an added row its record index; false when none could be had.
  bool AllocateIndex(ChangeItem* item);
  void Append(ChangeItem* item);
  BunchResult SendBunch(bool last);
  // The web service's answer to the bunch; Stopped when a stop came before the exchange.
  BunchResult Transmit() const;
  void Accept();
  void Refuse();
  void RollBackIndex() const;
  void RewriteSnapshot(bool mayCreate);
  void ClearBunch();

  const int32_t m_nProfileId;
  const CCdbFile& m_snapshot;
  ProfileChanges* m_pChanges;
  QByteArray m_bunch;
  int m_nAdded = 0;
  int m_nDeleted = 0;
  int m_nMessages = 0;
  // The first record index taken since the last accepted bunch; -1 when none.
  int32_t m_nFirstIndex = -1;
  bool m_bAccepted = false;  // a bunch of this pass was accepted
};
