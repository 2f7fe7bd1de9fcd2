#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Reads the whole file. A missing file is no error: `content` stays empty and `missing` is set.
bool ReadWholeFile(const QString& path, QByteArray* content, bool* missing);

// Replaces the file with `content` through a temporary file beside it, fsync and rename, so a
// reader sees the old or the new file, never a torn one. Only the holder of the file's lock
// (FileLock) may call it: the temporary file has one fixed name.
bool ReplaceFileAtomically(const QString& path, const QByteArray& content);

}  // namespace platform
