#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Starts `program` with `arguments` in `workingFolder`, detached from this process (its own
// session, no terminal, standard streams on /dev/null, never a zombie of ours), as a program
// started with no window. 0 with its process id in `pid`, else the errno of the failed start
// (a missing program gives ENOENT).
int StartDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                  qint64* pid = nullptr);

}  // namespace platform
