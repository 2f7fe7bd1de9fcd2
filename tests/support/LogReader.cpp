#include "tests/support/LogReader.h"

#include <QFile>
#include <QRegularExpression>

namespace testsupport {

QList<LogEntry> ReadLogEntries(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (bytes.size() < 2) return {};
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2),
                                          (bytes.size() - 2) / 2);
  static const QRegularExpression line(QStringLiteral("^<[-0-9]+:[-0-9]+:[-0-9]+> <(-?\\d+)> (.*)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
  QList<LogEntry> entries;
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (const QString& raw : lines) {
    const QRegularExpressionMatch match = line.match(raw);
    if (match.hasMatch()) {
      entries.append({match.captured(1).toInt(), match.captured(2)});
    } else if (!entries.isEmpty()) {
      entries.last().text += QStringLiteral("\r\n") + raw;  // a text that held line breaks
    }
  }
  return entries;
}

QList<LogEntry> EntriesContaining(const QList<LogEntry>& entries, const QString& part) {
  QList<LogEntry> found;
  for (const LogEntry& entry : entries) {
    if (entry.text.contains(part)) found.append(entry);
  }
  return found;
}

}  // namespace testsupport
