#include "sync/data/SyncLog.h"

#include "shared/LogLine.h"
#include "shared/SystemInfo.h"
#include "shared/contract/InstallLayout.h"
#include "sync/data/TurnInstallationPath.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <utility>

CSyncLogFile::CSyncLogFile(QString fileName) : m_strFileName(std::move(fileName)) {}

void CSyncLogFile::WriteLog(int code, const QString& text) {
  const QDateTime now = QDateTime::currentDateTime();
  QByteArray line = logline::Format(now.time().hour(), now.time().minute(), now.time().second(), code, text);
  const QString installation = TurnInstallationPath::Current();
  if (installation.isEmpty()) return;
  const QString folder = installation + installlayout::kLogsFolder + logline::DayFolderName(now.date());

  const std::lock_guard<std::mutex> guard(m_mutex);
  // Only the day folder is made; without the "Logs" folder the line is lost. The other log's
  // writer may make the folder at the same moment, so only a folder that is still missing counts.
  if (!QDir().mkdir(folder) && !QDir(folder).exists()) return;
  QFile file(folder + u'/' + m_strFileName);
  // Append mode and no buffering: each line is one write at the file's end.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return;
  if (file.size() == 0) line.prepend(logline::ByteOrderMark());
  file.write(line);
}

void WriteSyncServiceLog(int code, const QString& text) {
  static CSyncLogFile log(QStringLiteral("SyncServiceLog.log"));
  log.WriteLog(code, text);
}

void WriteBackSyncLog(int code, const QString& text) {
  static CSyncLogFile log(QStringLiteral("SyncServiceBackSyncLog.log"));
  log.WriteLog(code, text);
}

void SystemOSDetails() { WriteSyncServiceLog(-1, SystemOSDetailsText()); }
