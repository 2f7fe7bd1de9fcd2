#pragma once

#include "sync/engine/CdbFile.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

// One change of a profile's rows found by change detection, on its way to the devices.
struct ChangeItem {
  enum Kind : int32_t { kAdded = 1, kDeleted = 3 };
  // kInDoubt: its bunch went out and no answer came, so the devices may or may not hold it.
  enum State : int32_t { kNotSent = 0, kInBunch = 1, kAccepted = 2, kInDoubt = 3 };

  CdbEntry entry;     // an added row gets its record index when it goes into a bunch
  Kind kind = kAdded;
  QByteArray row;     // the row as a device record; added rows only
  int32_t position = -1;  // the row's position in the query result; -1 for a deleted entry
  State state = kNotSent;
};

// What change detection found for one profile: the snapshot entries that stay as they are (rows
// unchanged, and entries back synchronisation has just changed) and the changes, added rows in
// row order first, then deleted entries in key order.
struct ProfileChanges {
  QList<CdbEntry> loaded;         // the snapshot as it was loaded
  std::vector<uint32_t> kept;     // the positions in `loaded` of the entries that stay, in row order
  QList<ChangeItem> items;

  // The snapshot that describes what the devices hold: the kept entries, the additions they
  // accepted, the additions in doubt (as entries in doubt) and the deletions they did not accept.
  QList<CdbEntry> DeviceSnapshot() const;
  // The part of it that the changes make.
  QList<CdbEntry> ChangedEntries() const;
  // Whether any change went out to the service.
  bool AnyWentOut() const;
};
