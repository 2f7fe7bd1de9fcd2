#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/engine/ProfileSnapshot.h"
#include "sync/engine/TurnRowLookup.h"

#include <QSet>

#include <cstdint>
#include <memory>
#include <optional>

namespace syncservice { class ProfileDataReader; }

// One run of a profile's device changes, applied under the profile's snapshot lock: the
// profile's source is opened and its query run once, its snapshot loaded once (each change goes
// to its journal, the whole snapshot is written when the run ends), and, for a table written by
// key, the rows the run names are found in one read and kept true across the run's writes.
class ProfileChangeRun {
 public:
  // `named`: ProfileSnapshot::RecordKey of every record the run's changes touch.
  ProfileChangeRun(int32_t profileId, QSet<uint64_t> named);
  ~ProfileChangeRun();
  ProfileChangeRun(const ProfileChangeRun&) = delete;
  ProfileChangeRun& operator=(const ProfileChangeRun&) = delete;

  int32_t ProfileId() const { return m_nProfileId; }
  // The profile's settings row, read for the run's first change that found it.
  std::optional<ProfileRecord>& Profile() { return m_profile; }

  // The reader of the profile's source; a new one, for `profile`, when the run has none.
  syncservice::ProfileDataReader& Reader(const ProfileRecord& profile);
  // Whether the query must run (again) before the rows are read: it has not run, or a change
  // was written since and the rows are found by reading them again.
  bool NeedsQuery() const { return !m_bQueried || (m_bWritten && !m_rows); }
  // The query ran; the first time, the rows the run names are found when the table is written
  // by key, and otherwise the query runs again for rows fetched by their number. False, with
  // `error` set, when that run failed.
  bool QueryRan(QString* error);
  // The source failed: the next change opens it afresh.
  void DropReader();
  // Whether the rows are read again from a query that ran after the last write (and, for rows
  // read once in order, after the last pass); runs it when not. For the rare passes over every
  // row.
  bool FreshRows(QString* error);

  ProfileSnapshot& Snapshot();
  // The rows the run names; null unless the table is written by key.
  TurnRowLookup* Rows() { return m_rows ? &*m_rows : nullptr; }
  // A change was written to the profile's table.
  void Written() { m_bWritten = true; }

 private:
  // Finds the rows the run names in one read; false when a row could not be read.
  bool BuildRows();

  const int32_t m_nProfileId;
  const QSet<uint64_t> m_named;
  std::optional<ProfileRecord> m_profile;
  std::unique_ptr<syncservice::ProfileDataReader> m_reader;
  std::optional<ProfileSnapshot> m_snapshot;
  std::optional<TurnRowLookup> m_rows;
  bool m_bQueried = false;
  bool m_bWritten = false;
};
