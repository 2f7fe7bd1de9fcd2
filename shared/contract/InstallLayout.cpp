#include "shared/contract/InstallLayout.h"

namespace installlayout {
namespace {

CopyTable SameNames(const QString& folder, const QList<QString>& names) {
  CopyTable table{folder, {}};
  for (const QString& name : names) table.files.append({name, name});
  return table;
}

CopyTable Guides(const QString& suffix) {
  return {kDesktopFiles,
          {{kUserGuide, QStringLiteral("TarnwickPlusUserGuide%1.pdf").arg(suffix)},
           {kReadme, QStringLiteral("Readme%1.pdf").arg(suffix)}}};
}

QString SettingsDatabaseSource(uint16_t deviceType) {
  switch (deviceType) {
    case kIPhone: return QStringLiteral("UserProfileDBIPHONE.mdb");
    case kIPad: return QStringLiteral("UserProfileDBIPAD.mdb");
    default: return kSettingsDatabase;
  }
}

}  // namespace

QString ProgramFileName(const QString& windowsName) {
  return windowsName.endsWith(QStringLiteral(".exe")) ? windowsName.chopped(4) : windowsName;
}

QList<QString> DesktopFolders() { return {kDesktopFiles, kLogsFolder, kDbFolder, kTempFilesFolder, kCdbFolder}; }

QList<QString> DeviceFolders(uint16_t deviceType) {
  switch (deviceType) {
    case kBlackBerry: return {kBlackBerryFolder, kBlackBerryStormFolder, kBlackBerryFolder42};
    case kPocketPc: return {kPocketPcFolder};
    default: return {};
  }
}

QList<QString> DesktopPrograms() {
  return {ProgramFileName(QStringLiteral("TarnwickPlusLite.exe")),
          ProgramFileName(QStringLiteral("TarnwickPlusLiteUnInstaller.exe")),
          ProgramFileName(QStringLiteral("TarnwickPWinServiceLite.exe")),
          ProgramFileName(QStringLiteral("TarnwickPlusSyncServiceLite.exe")),
          ProgramFileName(QStringLiteral("TarnwickPStartSyncServiceLite.exe"))};
}

CopyTable ProgramTable() { return SameNames(kDesktopFiles, DesktopPrograms()); }

CopyTable DatabaseTable(uint16_t deviceType) {
  return {kDbFolder,
          {{kChangeDetectionDatabase, kChangeDetectionDatabase},
           {kSettingsDatabase, SettingsDatabaseSource(deviceType)},
           {kSampleDatabase, kSampleDatabase}}};
}

CopyTable SnapshotTable() { return SameNames(kCdbFolder, {QStringLiteral("cdb_1.bin"), QStringLiteral("cdb_2.bin")}); }

QList<QString> BlackBerryPackages() {
  return {QStringLiteral("TarnwickPlus.cod"),    QStringLiteral("TarnwickPlus.alx"),
          QStringLiteral("TarnwickPlusLib.cod"), QStringLiteral("TarnwickPlusLib.alx"),
          QStringLiteral("TarnwickPlusSyncApp.cod"), QStringLiteral("TarnwickPlusSyncApp.alx")};
}

QList<CopyTable> DeviceTables(uint16_t deviceType) {
  switch (deviceType) {
    case kBlackBerry: {
      CopyTable storm{kBlackBerryStormFolder, {}};
      for (const QString& name : BlackBerryPackages()) storm.files.append({name, u'S' + name});
      return {SameNames(kBlackBerryFolder42, BlackBerryPackages()), storm, Guides(QStringLiteral("BB"))};
    }
    case kIPhone: return {Guides(QStringLiteral("IPHONE"))};
    case kPocketPc: return {SameNames(kPocketPcFolder, {kPocketPcSetup}), Guides(QStringLiteral("PPC"))};
    case kIPad: return {Guides(QStringLiteral("IPAD"))};
    default: return {};
  }
}

QList<QString> DatabaseNames() {
  QList<QString> names;
  for (const CopyEntry& entry : DatabaseTable(0).files) names.append(entry.destination);
  return names;
}

}  // namespace installlayout
