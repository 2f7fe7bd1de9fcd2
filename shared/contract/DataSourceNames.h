#pragma once

#include <QString>
#include <QStringList>

// The ODBC data source names the system's programs define for themselves, and the password of
// the settings database they open under them. A name the user registers never takes one of these.

namespace datasources {

// The settings database, as the administration program, the sync program and the installer open it.
inline const QString kAdminSettings = QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD");
inline const QString kSyncSettings = QStringLiteral("UserProfileDSN_FOR_TarnwickPLite");
inline const QString kInstallerSettings = QStringLiteral("TempTarnwickPlusWPDSN");
inline const QString kSettingsDatabasePassword = QStringLiteral("pondGarue58");

// A profile's desktop source: in the administration program (and its FileMaker twin), in the sync
// program's change detection and in its back synchronisation.
inline const QString kAdminProfile = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD");
inline const QString kAdminFileMakerProfile = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD_FP");
inline const QString kSyncProfile = QStringLiteral("TarnwickPDSN_4_TarnwickPLite");
inline const QString kBackSyncProfile = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_BS");

// Every name above, settings databases first.
QStringList OwnNames();

}  // namespace datasources
