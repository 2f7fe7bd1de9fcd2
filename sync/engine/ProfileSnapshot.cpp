#include "sync/engine/ProfileSnapshot.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsRecord(const CdbEntry& entry, int32_t recordSource, int32_t recordIndex) {
  return entry.recordSource == recordSource && entry.recordIndex == recordIndex;
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(int32_t profileId) {
  m_file.SetCdbFileName(profileId);
  m_file.LoadCdbRecords(&m_entries);
}

const CdbEntry* ProfileSnapshot::Find(int32_t recordSource, int32_t recordIndex) const {
  const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                  [&](const CdbEntry& entry) { return IsRecord(entry, recordSource, recordIndex); });
  return found == m_entries.cend() ? nullptr : &*found;
}

void ProfileSnapshot::ReplaceDigest(int32_t recordSource, int32_t recordIndex,
                                    const uint8_t digest[kSha512DigestSize]) {
  for (CdbEntry& entry : m_entries) {
    if (IsRecord(entry, recordSource, recordIndex)) std::memcpy(entry.digest.data(), digest, entry.digest.size());
  }
}

void ProfileSnapshot::Remove(int32_t recordSource, int32_t recordIndex) {
  m_entries.removeIf([&](const CdbEntry& entry) { return IsRecord(entry, recordSource, recordIndex); });
}

qsizetype ProfileSnapshot::CountDigest(const uint8_t digest[kSha512DigestSize]) const {
  return std::count_if(m_entries.cbegin(), m_entries.cend(), [&](const CdbEntry& entry) {
    return std::memcmp(entry.digest.data(), digest, entry.digest.size()) == 0;
  });
}
