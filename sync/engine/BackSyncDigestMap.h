#pragma once

#include <QString>

#include <cstdint>
#include <map>

// The desktop rows that back synchronisation has written since change detection's last pass,
// so that change detection does not send them back to the devices. One map for the process;
// every use, the emptying included, happens while BackTrackConflictSemaphore() is held.
class BackSyncDigestMap {
 public:
  static BackSyncDigestMap& Instance();

  // Records a written row under "<ProfileID>_<hex digest>", or under the first free key of that
  // one followed by "_1", "_2", ..., so an earlier entry is never overwritten.
  void MakeStatusKey(int32_t profileId, const QString& hexDigest);
  // True when "<ProfileID>_<key>" is recorded; `key` is a hex digest, with its "_n" suffix for
  // the second and later rows of one digest.
  bool Contains(int32_t profileId, const QString& key) const;
  void Clear();

 private:
  std::map<QString, QString> m_entries;
};
