#pragma once

#include "shared/ProgramVersion.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The settings the sync program loads once at start and keeps for the whole run, the address
// of the web service taken apart, and the program's version (shared/ProgramVersion.h).

// Loads the intervals and address from SyncInfo and DesktopID and DeviceID from DeskInfo. 0, or
// DeskInfo's error code when it cannot be read (DesktopID and DeviceID are then left as they were).
int32_t LoadSyncSettings();

// The loaded intervals; false (and `minutes` unchanged) when SyncInfo could not be read, so that
// the turns take their own defaults.
bool GetChangeDetectMinutes(int32_t* minutes);
bool GetBackSyncMinutes(int32_t* minutes);
QByteArray GetDesktopIdAnsi();  // 8-bit text (UTF-8), as requests carry it
QString GetDeviceId();

namespace syncservice {

// Twins of the administration program's, which read the registry on every call and word a
// failed split differently: these answer from what was loaded at start.

// The loaded address; false (and `url` empty) when SyncInfo could not be read.
bool GetWebServiceUrl(QString* url);

// Splits the web-service address into host, path and port (default 80, 443 for https); false
// with "<InternetCrackUrl> Error Code : %d" in `error` when it is no http or https address.
bool CrackWebServiceUrl(const QString& address, QString* host, QString* path, uint16_t* port, QString* error);

}  // namespace syncservice
