#include "sync/engine/BackSyncDigestMap.h"

namespace {

QString FirstKey(int32_t profileId, const QString& key) { return QStringLiteral("%1_%2").arg(profileId).arg(key); }

}  // namespace

BackSyncDigestMap& BackSyncDigestMap::Instance() {
  static BackSyncDigestMap map;
  return map;
}

void BackSyncDigestMap::MakeStatusKey(int32_t profileId, const QString& hexDigest) {
  const QString first = FirstKey(profileId, hexDigest);
  QString key = first;
  for (int n = 1; m_entries.contains(key); ++n) key = QStringLiteral("%1_%2").arg(first).arg(n);
  m_entries.emplace(key, hexDigest);
}

bool BackSyncDigestMap::Contains(int32_t profileId, const QString& key) const {
  return m_entries.contains(FirstKey(profileId, key));
}

void BackSyncDigestMap::Clear() { m_entries.clear(); }
