#include "setup/common/SetupLog.h"

#include "platform/os/MachineRoot.h"

#include <QFile>

#include <cstdio>

QByteArray FormatSetupLogLine(const QDateTime& localTime, const QString& text) {
  const QDate date = localTime.date();
  const QTime time = localTime.time();
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "<%.2d/%.2d/%.2d : %.2d:%.2d:%.2d> ", date.day(), date.month(), date.year(),
                time.hour(), time.minute(), time.second());
  return QByteArray(stamp) + text.toUtf8() + "\r\n";
}

void AppendSetupLogLine(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  file.write(FormatSetupLogLine(QDateTime::currentDateTime(), text));
  file.flush();
}

QString InstallLogPath() {
  return platform::SpecialFolderPath(platform::SpecialFolder::ProgramFiles) +
         QStringLiteral("/iPhoneTarnwickPlusLiteInstall.log");
}

void WriteInstallLog(const QString& text) { AppendSetupLogLine(InstallLogPath(), text); }
