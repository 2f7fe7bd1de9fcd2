#pragma once

#include "platform/Registry.h"
#include "platform/RegistryHive.h"

#include <functional>

namespace platform {

// The file of one hive in the machine root's registry folder, and its lock file. Reads take a
// shared lock; a change takes the exclusive lock, reads the file again, applies the change and
// replaces the file atomically (temporary file, fsync, rename). A damaged file is reported on
// stderr and answered with ERROR_BADDB; it is never replaced.
class HiveFile {
 public:
  explicit HiveFile(const QString& hiveName);

  LSTATUS Read(RegistryHive* hive) const;

  // `change` edits the hive and returns its status; the file is written only when it returns
  // ERROR_SUCCESS and sets *changed.
  using Change = std::function<LSTATUS(RegistryHive& hive, bool* changed)>;
  LSTATUS Modify(const Change& change) const;

  // False when this user may not replace the hive file.
  bool IsWritable() const;

 private:
  LSTATUS Load(RegistryHive* hive) const;
  LSTATUS Store(const RegistryHive& hive) const;

  QString hiveName_;
  QString path_;
  QString lockPath_;
};

}  // namespace platform
