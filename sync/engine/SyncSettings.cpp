#include "sync/engine/SyncSettings.h"

#include "shared/soap/WebServiceAddress.h"
#include "sync/data/RegistryHandler.h"

namespace {

struct SyncSettings {
  int32_t changeDetectMinutes = 1;
  int32_t backSyncMinutes = 2;
  QString webServiceUrl;
  QString desktopId;
  QString deviceId;
};

// Written by LoadSyncSettings before the worker threads start; only read afterwards.
SyncSettings& Settings() {
  static SyncSettings settings;
  return settings;
}

}  // namespace

int32_t LoadSyncSettings() {
  SyncSettings& settings = Settings();
  SyncInfo syncInfo;
  if (GetRegistryHandler()->ReadSyncInfo(&syncInfo) == 0) {
    settings.changeDetectMinutes = syncInfo.changeDetectionMinutes;
    settings.backSyncMinutes = syncInfo.backSyncMinutes;
    settings.webServiceUrl = QString::fromUtf8(syncInfo.webServiceUrl);
  } else {
    settings.changeDetectMinutes = 1;
    settings.backSyncMinutes = 2;
    settings.webServiceUrl.clear();
  }
  DeskInfo deskInfo;
  if (const int status = GetRegistryHandler()->ReadDeskInfo(&deskInfo); status != 0) return status;
  settings.desktopId = QString::fromUtf8(deskInfo.desktopName);
  settings.deviceId = QString::fromUtf8(deskInfo.deviceId);
  return 0;
}

bool GetChangeDetectMinutes(int32_t* minutes) {
  *minutes = Settings().changeDetectMinutes;
  return true;
}

bool GetBackSyncMinutes(int32_t* minutes) {
  *minutes = Settings().backSyncMinutes;
  return true;
}

bool GetWebServiceUrl(QString* url) {
  *url = Settings().webServiceUrl;
  return true;
}

QByteArray GetDesktopIdAnsi() { return Settings().desktopId.toUtf8(); }

QString GetDeviceId() { return Settings().deviceId; }

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
