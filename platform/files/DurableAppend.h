#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Appends `content` to the file (created readable by its owner only when missing) and returns
// once it is on the disk (fsync, and for a new file its folder as well), so that a crash after
// the call keeps it. A crash during the call may leave part of it at the end of the file: readers
// of such files frame their records so that a torn last one is seen and ignored.
bool AppendDurably(const QString& path, const QByteArray& content);

}  // namespace platform
