#pragma once

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryHiveEdit.h"

#include <functional>
#include <memory>

namespace platform {

// The file of one hive in the machine root's registry folder, and its lock file. Reads take a
// shared lock and see another process's writes at once; an unchanged file is not parsed again
// (HiveFileCache). A change takes the exclusive lock, edits the file as it is then and replaces
// it atomically (temporary file, fsync, rename). A line that cannot be read is reported on
// stderr once and costs only itself; a file that is no hive at all is reported and answered
// with ERROR_BADDB, and never replaced.
class HiveFile {
 public:
  explicit HiveFile(const QString& hiveName);

  LSTATUS Read(std::shared_ptr<const RegistryHive>* hive) const;

  // `change` edits the hive and returns its status; the file is written only when it returns
  // ERROR_SUCCESS and changed something.
  using Change = std::function<LSTATUS(RegistryHiveEdit& edit)>;
  LSTATUS Modify(const Change& change) const;

  // False when this user may not replace the hive file.
  bool IsWritable() const;

 private:
  LSTATUS Load(std::shared_ptr<const RegistryHive>* hive) const;

  QString hiveName_;
  QString path_;
  QString lockPath_;
};

}  // namespace platform
