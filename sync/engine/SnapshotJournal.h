#pragma once

#include "sync/engine/CdbFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// One change of a profile's snapshot, as its journal records it.
struct SnapshotChange {
  enum Kind : uint8_t {
    kAdd = 1,        // the entry, unless the snapshot holds its record already
    kRemove = 2,     // every entry of the record
    kSetDigest = 3,  // every entry of the record takes the digest
  };
  Kind kind = kAdd;
  CdbEntry entry;

  bool operator==(const SnapshotChange&) const = default;
};

// The changes made to a profile's snapshot since it was last written whole, "cdb_<ProfileID>.journal"
// beside it: each change the devices took is appended (and on the disk) at once, and the
// snapshot itself is written once, when the work on the profile ends. Loading a snapshot applies
// its journal, so a crash between the two loses nothing.
//
// A record: uint32 LE count of changes, then per change one kind byte and the 72-byte entry,
// then the first 8 bytes of the SHA-512 of what precedes them in the record. A record cut short by
// a crash, or one that does not check, ends the journal: it and what follows are ignored (and cut
// off before the next append). The changes are applied by record identity (source, index), so
// applying a journal twice gives what applying it once gave: a crash between writing the snapshot
// and removing the journal does no harm.
class SnapshotJournal {
 public:
  explicit SnapshotJournal(QString path) : m_strPath(std::move(path)) {}

  const QString& Path() const { return m_strPath; }
  bool Exists() const;

  // Appends the changes as one record, durably. False when they could not be written.
  bool Append(const QList<SnapshotChange>& changes) const;
  // Applies the journal's whole records to `entries`; true when there was a journal.
  bool ApplyTo(QList<CdbEntry>* entries) const;
  void Remove() const;

  static QByteArray Record(const QList<SnapshotChange>& changes);
  static void Apply(const QList<SnapshotChange>& changes, QList<CdbEntry>* entries);

 private:
  QString m_strPath;
};
