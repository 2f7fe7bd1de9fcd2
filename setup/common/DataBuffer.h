#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The binary records that travel Base64-encoded in the DataBuffer element of the administration
// service's operations. Fields are little-endian; a text is a 16-bit byte length L followed by
// L bytes of UTF-16LE without a terminator.

// The fixed values every request names the application by.
struct AdminRecordHeader {
  uint8_t appType = 3;
  QString appName = QStringLiteral("TarnwickPlus");
  uint8_t deviceType = 1;
  QString webServiceVersion = QStringLiteral("1.0");
};

namespace databuffer {

// AppType, AppName, DeviceType, WebServiceVersion.
QByteArray GetWebUrlRecord(const AdminRecordHeader& header);
// AppType, AppName, DeviceType, DeviceID, WebServiceVersion.
QByteArray InstallDesktopRecord(const AdminRecordHeader& header, const QString& deviceId);
// AppName, NoOfDevices.
QByteArray UninstallDesktopRecord(const QString& appName, uint16_t noOfDevices = 0);

// The answer record of GetWebUrl and InstallDesktop: a status (0 success) and a text.
struct Reply {
  uint16_t status = 0;
  QString text;
};

// Reads an answer record; nothing, with the reason in `refusal`, when it is shorter than its
// 4-byte head, its text runs past its end, or the text's length is odd.
std::optional<Reply> ReadReply(const QByteArray& record, QString* refusal);

}  // namespace databuffer
