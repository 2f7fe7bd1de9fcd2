#include "setup/common/DataBuffer.h"

#include "platform/text/Utf16Text.h"
#include "shared/Endian.h"

namespace databuffer {
namespace {

// The longest text a 16-bit byte length can carry, in whole UTF-16 units.
constexpr qsizetype kMaxTextUnits = 0xFFFF / 2;

void AppendText(QByteArray* record, const QString& text) {
  const QByteArray units = platform::Utf16LeBytes(text.left(kMaxTextUnits));
  endian::AppendLE<uint16_t>(record, static_cast<uint16_t>(units.size()));
  record->append(units);
}

uint16_t Uint16At(const QByteArray& record, qsizetype offset) {
  return endian::ReadLE<uint16_t>(endian::Bytes(record) + offset);
}

QString TextAt(const QByteArray& record, qsizetype offset, uint16_t length) {
  QString text;
  text.reserve(length / 2);
  for (qsizetype at = offset; at < offset + length; at += 2) text += QChar(Uint16At(record, at));
  return text;
}

}  // namespace

QByteArray GetWebUrlRecord(const AdminRecordHeader& header) {
  QByteArray record;
  record.append(static_cast<char>(header.appType));
  AppendText(&record, header.appName);
  record.append(static_cast<char>(header.deviceType));
  AppendText(&record, header.webServiceVersion);
  return record;
}

QByteArray InstallDesktopRecord(const AdminRecordHeader& header, const QString& deviceId) {
  QByteArray record;
  record.append(static_cast<char>(header.appType));
  AppendText(&record, header.appName);
  record.append(static_cast<char>(header.deviceType));
  AppendText(&record, deviceId);
  AppendText(&record, header.webServiceVersion);
  return record;
}

QByteArray UninstallDesktopRecord(const QString& appName, uint16_t noOfDevices) {
  QByteArray record;
  AppendText(&record, appName);
  endian::AppendLE<uint16_t>(&record, noOfDevices);
  return record;
}

std::optional<Reply> ReadReply(const QByteArray& record, QString* refusal) {
  if (record.size() < 4) {
    *refusal = QStringLiteral("The reply record has %1 bytes, fewer than its 4-byte head.").arg(record.size());
    return std::nullopt;
  }
  const uint16_t length = Uint16At(record, 2);
  if (length % 2 != 0) {
    *refusal = QStringLiteral("The reply record's text length %1 is odd.").arg(length);
    return std::nullopt;
  }
  if (4 + qsizetype(length) > record.size()) {
    *refusal = QStringLiteral("The reply record's text length %1 runs past its %2 bytes.").arg(length).arg(record.size());
    return std::nullopt;
  }
  Reply reply;
  reply.status = Uint16At(record, 0);
  reply.text = TextAt(record, 4, length);
  return reply;
}

}  // namespace databuffer
