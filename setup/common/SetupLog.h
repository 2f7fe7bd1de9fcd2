#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

// The logs of the setup programs: 8-bit (UTF-8) text files, one line per event,
// "<dd/mm/yyyy : hh:mm:ss> text\r\n" in local time. Each line is written by opening the file,
// appending, flushing and closing, so a crash loses nothing already logged; a file that cannot
// be opened loses the line silently, and the setup goes on.

// Where a setup step writes its lines: the install log or the uninstall log.
using SetupLogSink = std::function<void(const QString& text)>;

QByteArray FormatSetupLogLine(const QDateTime& localTime, const QString& text);

// Appends the line, stamped now, to the file at `path`.
void AppendSetupLogLine(const QString& path, const QString& text);

// The installer's log, "iPhoneTarnwickPlusLiteInstall.log" in the Program Files folder.
QString InstallLogPath();
void WriteInstallLog(const QString& text);
