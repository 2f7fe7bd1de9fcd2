#include "sync/data/SyncSettings.h"

#include "shared/RegistryHandler.h"
#include "shared/soap/WebServiceAddress.h"

namespace {

struct SyncSettings {
  bool syncInfoRead = false;
  int32_t changeDetectMinutes = 0;
  int32_t backSyncMinutes = 0;
  QString webServiceUrl;
  QString desktopId;
  QString deviceId;
};

// Written by LoadSyncSettings before the worker threads start; only read afterwards.
SyncSettings& Settings() {
  static SyncSettings settings;
  return settings;
}

bool GetLoadedMinutes(int32_t SyncSettings::*field, int32_t* minutes) {
  if (!Settings().syncInfoRead) return false;
  *minutes = Settings().*field;
  return true;
}

}  // namespace

int32_t LoadSyncSettings() {
  SyncSettings& settings = Settings();
  SyncInfo syncInfo;
  settings.syncInfoRead = GetRegistryHandler()->ReadSyncInfo(&syncInfo) == 0;
  settings.changeDetectMinutes = syncInfo.changeDetectionMinutes;
  settings.backSyncMinutes = syncInfo.backSyncMinutes;
  settings.webServiceUrl = QString::fromUtf8(syncInfo.webServiceUrl);
  DeskInfo deskInfo;
  if (const int status = GetRegistryHandler()->ReadDeskInfo(&deskInfo); status != 0) return status;
  settings.desktopId = QString::fromUtf8(deskInfo.desktopName);
  settings.deviceId = QString::fromUtf8(deskInfo.deviceId);
  return 0;
}

bool GetChangeDetectMinutes(int32_t* minutes) { return GetLoadedMinutes(&SyncSettings::changeDetectMinutes, minutes); }

bool GetBackSyncMinutes(int32_t* minutes) { return GetLoadedMinutes(&SyncSettings::backSyncMinutes, minutes); }

QByteArray GetDesktopIdAnsi() { return Settings().desktopId.toUtf8(); }

QString GetDeviceId() { return Settings().deviceId; }

namespace syncservice {

bool GetWebServiceUrl(QString* url) {
  *url = Settings().webServiceUrl;
  return Settings().syncInfoRead;
}

bool CrackWebServiceUrl(const QString& address, QString* host, QString* path, uint16_t* port, QString* error) {
  WebServiceAddress parts;
  int code = 0;
  if (!SplitWebServiceAddress(address, &parts, &code)) {
    *error = QStringLiteral("<InternetCrackUrl> Error Code : %1").arg(code);
    return false;
  }
  *host = parts.host;
  *path = parts.path;
  *port = parts.port;
  return true;
}

}  // namespace syncservice
