#include "shared/LogLine.h"

#include "platform/text/Utf16Text.h"

#include <QTime>

#include <cstdio>

namespace logline {

QByteArray ByteOrderMark() { return QByteArray("\xFF\xFE", 2); }

QByteArray Format(int hour, int minute, int second, int code, const QString& text) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "<%.2d:%.2d:%.2d> <%d> ", hour, minute, second, code);
  return platform::Utf16LeBytes(QString::fromLatin1(stamp) + text + QStringLiteral("\r\n"));
}

QByteArray FormatNow(int code, const QString& text) {
  const QTime now = QTime::currentTime();
  if (!now.isValid()) return Format(-1, -1, -1, code, text);
  return Format(now.hour(), now.minute(), now.second(), code, text);
}

QString DayFolderName(const QDate& date) {
  return QStringLiteral("%1-%2-%3").arg(date.day()).arg(date.month()).arg(date.year());
}

}  // namespace logline
