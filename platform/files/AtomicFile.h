#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Reads the whole file. A missing file is no error: `content` stays empty and `missing` is set.
bool ReadWholeFile(const QString& path, QByteArray* content, bool* missing);

// Reads what is left of an open file.
bool ReadAll(int fd, QByteArray* content);

// Replaces the file with `content` through a temporary file of a unique name beside it, fsync and
// rename, so a reader sees the old or the new file, never a torn one. The new file keeps the mode
// of the one it replaces; a file that did not exist is created readable by its owner only, since
// hives hold sealed passwords. No temporary file is left behind on failure, and those of writers
// that were killed in the folder are removed first (ReplacementFile). A read-modify-write still
// needs the file's lock (FileLock), or two writers lose each other's change.
bool ReplaceFileAtomically(const QString& path, const QByteArray& content);

}  // namespace platform
