#include "sync/engine/TurnRowLookup.h"

#include "sync/data/ProfileDataReader.h"

#include <utility>

bool TurnRowLookup::Build(syncservice::ProfileDataReader& reader, const QSet<QByteArray>& digests) {
  m_rows.clear();
  return digests.isEmpty() || reader.FindRows(digests, &m_rows);
}

TurnRowLookup::Row* TurnRowLookup::Find(const uint8_t digest[kRowDigestSize]) {
  const auto row = m_rows.find(Key(digest));
  return row == m_rows.end() ? nullptr : &*row;
}

void TurnRowLookup::Move(const uint8_t* digest, const uint8_t newDigest[kRowDigestSize], Row row) {
  if (digest != nullptr) Forget(digest);
  m_rows.insert(Key(newDigest), std::move(row));
}

void TurnRowLookup::Forget(const uint8_t digest[kRowDigestSize]) { m_rows.remove(Key(digest)); }
