#pragma once

#include "setup/common/SetupLog.h"

#include <QString>

// The registry items an installation leaves, as both setup programs delete them: the sealed
// records and AppWPk under the record key (the key itself stays), then the RI key and the
// settings key with its values. Every deletion is attempted; each failure is logged with its
// checkpoint and the registry code ("Problem in deleting settings<2>: 2").

// Checkpoint of a failed deletion of the RI key: the installer's and the uninstaller's differ.
inline const QString kInstallerIndexKeyCheckpoint = QStringLiteral("4.2");
inline const QString kUninstallerIndexKeyCheckpoint = QStringLiteral("5.0");

// 0, or -1 when the record key could not be opened (every deletion is attempted all the same).
int DeleteInstallationSettings(const QString& indexKeyCheckpoint, const SetupLogSink& log);

inline const QString kAddRemoveKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TarnwickPlusLite");

// Deletes the Add/Remove Programs entry; a failure logs "Problem in deleting settings<Add Remove>: %d".
void DeleteAddRemoveEntry(const SetupLogSink& log);
