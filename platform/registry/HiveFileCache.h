#pragma once

#include "platform/registry/RegistryHive.h"

#include <QString>

#include <map>
#include <memory>
#include <mutex>

namespace platform {

// The hives this process has parsed, one per hive name, so that a read of an unchanged hive
// costs a stat and not a parse. A hive is parsed again when its file is another file or was
// changed in place: every write replaces the file, so its device and inode, size and
// modification time tell. The cache keeps the parsed file open, so that its inode cannot be
// freed and given to a later file while the cache compares against it.
class HiveFileCache {
 public:
  struct Parsed {
    std::shared_ptr<const RegistryHive> hive;  // null when the file is damaged
    QString damage;                            // what is wrong with the file
  };

  static HiveFileCache& Instance();

  // The hive as the file at `path` holds it now; a missing file is an empty hive. False, with
  // errno set, when the file cannot be read. The caller holds the hive's lock.
  bool Load(const QString& hiveName, const QString& path, Parsed* parsed);

 private:
  struct Entry;

  HiveFileCache();
  ~HiveFileCache();

  std::mutex mutex_;
  std::map<QString, std::unique_ptr<Entry>> entries_;  // by hive name
};

}  // namespace platform
