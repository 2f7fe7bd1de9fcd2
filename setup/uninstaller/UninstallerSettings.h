#pragma once

#include "setup/common/SetupLog.h"
#include "shared/RegistryRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// What the uninstaller reads and writes of the settings, with its log lines. The installation
// folder is read by the shared GetInstallationPath (shared/RegistrySettings.h).

// The desktop name of the sealed DeskInfo, or empty (logged when the key or value cannot be
// read). A name with control characters or that is not UTF-8 unsealed from a damaged record and
// is no name.
QString ReadDeskInfo(const SetupLogSink& log);
// The device type of DeskInfo, or -1 (logged).
int GetDeviceType(const SetupLogSink& log);
bool IsDesktopName(const QByteArray& name);

// 1 with StartSyncStatus in `status`; 0 when it cannot be read.
int GetStartSyncStatus(uint32_t* status);

// The proxy record, left zero (direct transport) when it cannot be read (logged).
void ReadConnSettings(ConnSettings* record, const SetupLogSink& log);

// Writes SyncServiceStatus: 1, or -1 key not opened, -4 value not set (logged).
int SetSyncServiceStatus(uint32_t status, const SetupLogSink& log);
