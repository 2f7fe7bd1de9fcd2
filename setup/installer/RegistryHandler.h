#pragma once

#include "shared/RegistryRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The installer's settings writer has its own namespace: the shared reader of the sealed records
// (shared/RegistryHandler.h) carries the same names in every program that links it.
namespace installer {

// The longest web-service address SyncInfo holds: its 256-byte field keeps a terminating zero.
inline constexpr int kMaxWebServiceUrlBytes = 255;

// What the settings writer reads of the install state.
struct InstallSettingsState {
  QString installFolder;  // as chosen
  ConnSettings connection;
  QByteArray webServiceUrl;  // the address GetWebUrl gave, cut after its last "/"
  QByteArray adminPassword;
  QByteArray desktopName;
  QByteArray deviceId;
  QByteArray devicePassword;
  uint16_t deviceType = 0;
};

// Writes every registry setting the other programs read after installation, and deletes them on
// rollback. Records are zero-filled behind their texts, then sealed. Every line goes to the
// install log. It keeps no state.
class CRegistryHandler {
 public:
  // 0, -1 settings key, -2 SyncInfo, -3 APas, -6 DeskInfo, -7 AppWPk; then the Add/Remove entry.
  int CreateAppSettings(const InstallSettingsState& state) const;
  // 0, -1 key or ConnSettings, -2..-6 InstallationPath, NextProfileID, SyncServiceStatus,
  // StartSyncStatus, NextFormID; then the RI values of the two sample profiles.
  int WriteAppSettings(const QString& installFolder, const ConnSettings& connection) const;
  // 0, -1 key not created, -2 key not opened for writing, -3 value not set.
  int WriteConnSettings(const ConnSettings& connection) const;
  // An address longer than kMaxWebServiceUrlBytes is not set (a cut one would lead elsewhere).
  int WriteSyncInfo(const QByteArray& webServiceUrl) const;
  int WriteDeskInfo(const QByteArray& desktopName, const QByteArray& deviceId, const QByteArray& devicePassword,
                    uint16_t deviceType) const;
  // 0, -1 key not opened for writing, -2 value not set.
  int WriteAdminPassword(const QByteArray& password) const;
  // 0, -1 key not opened, -2 value not set.
  int WriteAppWPk(uint32_t value) const;
  // True when the value was set.
  bool CreateRISettings(int profile, uint32_t index) const;
  // Failures are logged; later values are still attempted.
  void CreateAddRemoveEntry(const QString& uninstallCommand, const QString& iconPath) const;
  // Attempts every deletion and logs each failure: 0, or -1 when the record key could not be
  // opened. The Add/Remove entry stays (the install sequence deletes it).
  int DestroySettings() const;
};

// The one settings writer of the process.
CRegistryHandler* GetRegistryHandler();

}  // namespace installer
