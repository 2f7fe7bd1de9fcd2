#include "sync/engine/RecordDigestLookup.h"

#include "sync/data/ExcelHandler.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/RowDigest.h"

#include <array>

namespace {

QByteArray DigestKey(const uint8_t* digest) {
  return QByteArray(reinterpret_cast<const char*>(digest), kRowDigestSize);
}

}  // namespace

RecordDigestLookup::RecordDigestLookup(syncservice::ProfileDataReader& reader, int32_t profileId) {
  LoadSnapshot(profileId);
  if (m_entries.isEmpty()) return;
  reader.BindColumns();
  IndexRows(0, reader.GetRecordCount(), [&reader](int32_t row, uint8_t* digest) {
    QByteArray record;
    return reader.FetchRecord(row, &record, digest) > 0;
  });
  reader.UnbindColumns();
}

RecordDigestLookup::RecordDigestLookup(syncservice::CExcelHandler& handler, int32_t profileId, bool skipFirstRow) {
  LoadSnapshot(profileId);
  if (m_entries.isEmpty()) return;
  IndexRows(skipFirstRow ? 1 : 0, handler.GetRowCount(), [&handler](int32_t row, uint8_t* digest) {
    handler.GetRowDigest(row, digest);
    return true;
  });
}

void RecordDigestLookup::LoadSnapshot(int32_t profileId) {
  CCdbFile file;
  file.SetCdbFileName(profileId);
  QList<CdbEntry> entries;
  file.LoadCdbRecords(&entries);
  for (const CdbEntry& entry : entries) {
    const std::pair<int32_t, int32_t> identity{entry.recordSource, entry.recordIndex};
    if (!m_entries.contains(identity)) m_entries.insert(identity, entry);
  }
}

void RecordDigestLookup::IndexRows(int32_t firstRow, int32_t rowCount, const RowDigest& digestOfRow) {
  for (int32_t row = firstRow; row < rowCount; ++row) {
    std::array<uint8_t, kRowDigestSize> digest{};
    if (!digestOfRow(row, digest.data())) continue;
    const QByteArray key = DigestKey(digest.data());
    if (!m_rows.contains(key)) m_rows.insert(key, row);
  }
}

bool RecordDigestLookup::Find(int32_t* rowIndex, CdbEntry* entry) const {
  *rowIndex = -1;
  const auto stored = m_entries.constFind({entry->recordSource, entry->recordIndex});
  if (stored == m_entries.cend()) return false;
  const auto row = m_rows.constFind(DigestKey(stored->digest.data()));
  if (row == m_rows.cend()) return false;
  *entry = *stored;
  *rowIndex = *row;
  return true;
}
