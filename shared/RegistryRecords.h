#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The sealed records of the registry (shared/contract/RegistryNames.h names where they stand).
// Every 8-bit text inside a record is UTF-8, zero-terminated inside its field.

struct ConnSettings {
  static constexpr int kSize = 264;
  QByteArray proxyServer;    // offset 0, 128 bytes
  int32_t proxyPort = 0;     // offset 128
  QByteArray proxyUser;      // offset 132, 64 bytes
  QByteArray proxyPassword;  // offset 196, 64 bytes
  int32_t useProxy = 0;      // offset 260

  QByteArray ToBytes() const;
  static ConnSettings FromBytes(const QByteArray& plain);  // plain holds at least kSize bytes
};

struct SyncInfo {
  static constexpr int kSize = 264;
  int32_t changeDetectionMinutes = 1;  // offset 0
  int32_t backSyncMinutes = 2;         // offset 4
  QByteArray webServiceUrl;            // offset 8, 256 bytes

  QByteArray ToBytes() const;
  static SyncInfo FromBytes(const QByteArray& plain);
};

struct DeskInfo {
  static constexpr int kSize = 452;
  QByteArray desktopName;     // offset 0, 128 bytes
  QByteArray deviceId;        // offset 128, 128 bytes
  QByteArray devicePassword;  // offset 256, 128 bytes
  uint16_t deviceType = 0;    // offset 384; 66 reserved bytes follow

  QByteArray ToBytes() const;
  static DeskInfo FromBytes(const QByteArray& plain);
};

