#include "shared/LogLine.h"

#include <QTime>

#include <cstdio>

namespace logline {
namespace {

QByteArray Utf16Le(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

}  // namespace

QByteArray ByteOrderMark() { return QByteArray("\xFF\xFE", 2); }

QByteArray Format(int hour, int minute, int second, int code, const QString& text) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "<%.2d:%.2d:%.2d> <%d> ", hour, minute, second, code);
  return Utf16Le(QString::fromLatin1(stamp) + text + QStringLiteral("\r\n"));
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
