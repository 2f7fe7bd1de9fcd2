#pragma once

#include <QString>

// The registry keys under HKEY_LOCAL_MACHINE the programs share, and the names of their values.
// Reads and writes of the values go through SettingsKey and RecordKey.

namespace registrynames {

// The settings key, and its RI subkey that holds each profile's next record index under the
// profile's ID.
inline const QString kSettingsKey = QStringLiteral("Software\\TarnwickWebLite");
inline const QString kRecordIndexKey = QStringLiteral("Software\\TarnwickWebLite\\RI");
// The key of the sealed records; its name is put together at run time:
// "Software\\Microsoft\\Windows\\Version\\" + "QuenmoorLite".
QString RecordKeyName();

// Values of the settings key.
inline const QString kInstallationPath = QStringLiteral("InstallationPath");
inline const QString kWebServiceUrl = QStringLiteral("WebServiceURL");
inline const QString kNextProfileId = QStringLiteral("NextProfileID");
inline const QString kNextFormId = QStringLiteral("NextFormID");
inline const QString kSyncServiceStatus = QStringLiteral("SyncServiceStatus");
inline const QString kStartSyncStatus = QStringLiteral("StartSyncStatus");
inline const QString kOsVersionMessageFlag = QStringLiteral("OSVersionMessageFlag");
inline const QString kConnSettings = QStringLiteral("ConnSettings");

// Values of the record key.
inline const QString kAdminPassword = QStringLiteral("APas");
inline const QString kDeskInfo = QStringLiteral("DeskInfo");
inline const QString kSyncInfo = QStringLiteral("SyncInfo");
inline const QString kAppWPk = QStringLiteral("AppWPk");

}  // namespace registrynames
