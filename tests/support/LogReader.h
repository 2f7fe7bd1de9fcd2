#pragma once

#include <QList>
#include <QString>

namespace testsupport {

// One line of a program log ("<hh:mm:ss> <code> text").
struct LogEntry {
  int code = 0;
  QString text;
};

// The entries of a UTF-16LE log file (byte-order mark first); a text that held line breaks
// stays one entry. Empty when there is no file.
QList<LogEntry> ReadLogEntries(const QString& path);

// The entries whose text contains `part`.
QList<LogEntry> EntriesContaining(const QList<LogEntry>& entries, const QString& part);

}  // namespace testsupport
