#pragma once

#include "setup/common/SetupLog.h"

#include <QFile>
#include <QStringList>

namespace installertest {

// The texts of the install log's lines, without their time stamps.
inline QStringList InstallLogLines() {
  QFile file(InstallLogPath());
  QStringList lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  for (const QByteArray& raw : file.readAll().split('\n')) {
    QString line = QString::fromUtf8(raw);
    if (line.endsWith(u'\r')) line.chop(1);  // texts keep their own trailing blanks
    const qsizetype stamp = line.indexOf(QStringLiteral("> "));
    if (stamp >= 0) lines.append(line.mid(stamp + 2));
  }
  return lines;
}

}  // namespace installertest
