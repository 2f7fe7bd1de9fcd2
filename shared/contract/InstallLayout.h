#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// The installation folder as every program knows it: its folders, the files the installer copies
// there from its payload folder and the uninstaller removes again, and the files the programs
// make there. Folder names are relative to the installation folder and end in "/"; file names are
// as they stand on disk (programs without the Windows ".exe").

namespace installlayout {

inline constexpr uint16_t kBlackBerry = 1;
inline constexpr uint16_t kIPhone = 2;
inline constexpr uint16_t kPocketPc = 3;
inline constexpr uint16_t kIPad = 4;

inline const QString kDesktopFiles = QStringLiteral("Desktop Files/");
inline const QString kLogsFolder = QStringLiteral("Desktop Files/Logs/");
inline const QString kDbFolder = QStringLiteral("Desktop Files/DB/");
inline const QString kTempFilesFolder = QStringLiteral("Desktop Files/DB/Temp Files/");
inline const QString kCdbFolder = QStringLiteral("Desktop Files/DB/CDB Files/");
inline const QString kDeviceFiles = QStringLiteral("Device Installation Files/");
inline const QString kBlackBerryFolder = QStringLiteral("Device Installation Files/BlackBerry/");
inline const QString kBlackBerryStormFolder = QStringLiteral("Device Installation Files/BlackBerry/Storm/");
inline const QString kBlackBerryFolder42 = QStringLiteral("Device Installation Files/BlackBerry/4.2 or above/");
inline const QString kPocketPcFolder = QStringLiteral("Device Installation Files/PocketPC/");

inline const QString kSettingsDatabase = QStringLiteral("UserProfileDB.mdb");
inline const QString kChangeDetectionDatabase = QStringLiteral("ChangeDetDB.mdb");
inline const QString kSampleDatabase = QStringLiteral("SampleDB.mdb");
inline const QString kPocketPcSetup = QStringLiteral("PocketPC_Setup.exe");
inline const QString kUserGuide = QStringLiteral("TarnwickPlusUserGuide.pdf");
inline const QString kReadme = QStringLiteral("Readme.pdf");
// In kCdbFolder: the device messages the sync program keeps until they are answered.
inline const QString kKeptDeviceMessages = QStringLiteral("kept_device_messages.bin");

// The name a program goes by on this system: its Windows name without ".exe".
QString ProgramFileName(const QString& windowsName);

// One file to copy: its name in the payload folder and its name in the destination folder.
struct CopyEntry {
  QString destination;
  QString source;
};

// Files copied into one folder of the installation.
struct CopyTable {
  QString folder;
  QList<CopyEntry> files;
};

// The desktop folders in the order they are made.
QList<QString> DesktopFolders();

// The device folders of a device type below "Device Installation Files/", in the order they are
// made (none for types 2 and 4).
QList<QString> DeviceFolders(uint16_t deviceType);

// The programs, in copy order: administration program, uninstaller, service wrapper, sync
// program, starter.
QList<QString> DesktopPrograms();

// The programs, the databases (the settings database by device type) and the snapshots.
CopyTable ProgramTable();
CopyTable DatabaseTable(uint16_t deviceType);
CopyTable SnapshotTable();

// The device packages and the guides of a device type, in copy order.
QList<CopyTable> DeviceTables(uint16_t deviceType);

// The databases of "Desktop Files/DB/".
QList<QString> DatabaseNames();

// The six BlackBerry package names.
QList<QString> BlackBerryPackages();

}  // namespace installlayout
