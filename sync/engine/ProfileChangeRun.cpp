#include "sync/engine/ProfileChangeRun.h"

#include "sync/data/ProfileDataReader.h"
#include "sync/data/SyncLog.h"

#include <utility>

ProfileChangeRun::ProfileChangeRun(int32_t profileId, QSet<uint64_t> named)
    : m_nProfileId(profileId), m_named(std::move(named)) {}

ProfileChangeRun::~ProfileChangeRun() {
  if (m_snapshot && !m_snapshot->Close()) {
    WriteBackSyncLog(-1, QStringLiteral("The snapshot of Profile %1 could not be rewritten.").arg(m_nProfileId));
  }
}

syncservice::ProfileDataReader& ProfileChangeRun::Reader(const ProfileRecord& profile) {
  if (!m_reader) {
    m_reader = std::make_unique<syncservice::ProfileDataReader>();
    m_reader->Profile() = profile;
    m_reader->SetBackSync(true);
    // A run written by key reads its rows once, in order: no driver needs to keep a scrollable
    // copy of a large result for it.
    m_reader->ReadForwardOnly();
  }
  return *m_reader;
}

void ProfileChangeRun::DropReader() {
  m_reader.reset();
  m_bQueried = false;
}

ProfileSnapshot& ProfileChangeRun::Snapshot() {
  if (!m_snapshot) m_snapshot.emplace(m_nProfileId, true, m_named);
  return *m_snapshot;
}

bool ProfileChangeRun::QueryRan(QString* error) {
  const bool first = !m_bQueried;
  m_bQueried = true;
  m_bWritten = false;
  if (!first || m_rows) return true;
  if (m_reader->WritesByKey() && BuildRows()) return true;
  if (!m_reader->ReadsForwardOnly()) return true;
  m_reader->ReadScrollable();
  return m_reader->ExecuteProfileQuery(error) == 1;
}

bool ProfileChangeRun::BuildRows() {
  QSet<QByteArray> digests;
  for (const uint64_t key : m_named) {
    const CdbEntry* entry =
        Snapshot().Find(static_cast<int32_t>(key >> 32), static_cast<int32_t>(key & 0xFFFFFFFFu));
    if (entry != nullptr) digests.insert(TurnRowLookup::Key(entry->digest.data()));
  }
  m_rows.emplace();
  if (!m_rows->Build(*m_reader, digests)) m_rows.reset();
  return m_rows.has_value();
}

bool ProfileChangeRun::FreshRows(QString* error) {
  if (m_bQueried && !m_bWritten && !m_reader->ReadsForwardOnly()) return true;
  if (m_reader->ExecuteProfileQuery(error) != 1) return false;
  m_bWritten = false;
  return true;
}
