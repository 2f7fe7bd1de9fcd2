#include "platform/registry/Registry.h"
#include "setup/common/SettingsRemoval.h"
#include "setup/installer/RegistryHandler.h"
#include "setup/uninstaller/UninstallerFiles.h"
#include "setup/uninstaller/UninstallerRegistryHandler.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/uninstaller/MachineRecord.h"
#include "tests/setup/uninstaller/UninstallerTestLog.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

using namespace installlayout;
using namespace platform;

namespace {

void WriteFile(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
}

// An installation as the installer leaves it for a device type, with a log and the sync
// program's temporary files; returns the installation folder, ending in "/".
QString MakeInstallation(uint16_t deviceType) {
  const QString base = testsupport::CurrentMachineRoot() + QStringLiteral("/Program Files/Tarnwick Plus Lite/");
  for (const QString& folder : DesktopFolders() + QList<QString>{kDeviceFiles} + DeviceFolders(deviceType))
    QDir().mkpath(base + folder);
  QList<CopyTable> tables = {ProgramTable(), DatabaseTable(deviceType), SnapshotTable()};
  tables += DeviceTables(deviceType);
  for (const CopyTable& table : tables) {
    for (const CopyEntry& entry : table.files) WriteFile(base + table.folder + entry.destination);
  }
  WriteFile(base + kLogsFolder + QStringLiteral("ipTarnwickUnInstall.log"));
  WriteFile(base + kTempFilesFolder + QStringLiteral("t1.tmp"));
  return base;
}

// Every entry under `folder`, relative to it, folders ending in "/".
QStringList Entries(const QString& folder) {
  QStringList entries;
  QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info = it.nextFileInfo();
    entries.append(QDir(folder).relativeFilePath(info.filePath()) + (info.isDir() ? QStringLiteral("/") : QString()));
  }
  entries.sort();
  return entries;
}

const QStringList kLeftAfterRemoval = {QStringLiteral("Desktop Files/"), QStringLiteral("Desktop Files/Logs/"),
                                       QStringLiteral("Desktop Files/Logs/ipTarnwickUnInstall.log")};

TEST(UninstallerRemoval, EveryDeviceTypeLeavesOnlyTheLogs) {
  for (const uint16_t deviceType : {kBlackBerry, kIPhone, kPocketPc, kIPad}) {
    uninstallertest::RecordedLog log;
    const QString base = MakeInstallation(deviceType);
    EXPECT_EQ(RemoveInstalledFiles(base, deviceType, log.Sink()), 0);
    EXPECT_EQ(Entries(base), kLeftAfterRemoval) << "device type " << deviceType;
    EXPECT_TRUE(log.Lines().isEmpty()) << log.Lines().join(u'\n').toStdString();
    QDir(base).removeRecursively();
  }
}

TEST(UninstallerRemoval, HandMadeEntriesKeepTheirFoldersAndAreLogged) {
  uninstallertest::RecordedLog log;
  const QString base = MakeInstallation(kIPhone);
  WriteFile(base + kDbFolder + QStringLiteral("mine.mdb"));
  QDir().mkpath(base + kTempFilesFolder + QStringLiteral("sub"));
  // Without its trailing "/" as the installer may store it.
  RemoveInstalledFiles(base.chopped(1), kIPhone, log.Sink());
  QStringList left = kLeftAfterRemoval;
  left += {QStringLiteral("Desktop Files/DB/"), QStringLiteral("Desktop Files/DB/Temp Files/"),
           QStringLiteral("Desktop Files/DB/Temp Files/sub/"), QStringLiteral("Desktop Files/DB/mine.mdb")};
  left.sort();
  EXPECT_EQ(Entries(base), left);
  EXPECT_EQ(log.Lines(), (QStringList{QStringLiteral("Problem in deleting directory : ") + base + kTempFilesFolder,
                                      QStringLiteral("Problem in deleting directory : ") + base + kDbFolder}));
}

TEST(UninstallerRemoval, NoAbsoluteInstallationFolderRemovesNothing) {
  const QString base = MakeInstallation(kIPhone);
  const QStringList before = Entries(base);
  const QString current = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(base));
  for (const QString& folder : {QString(), QStringLiteral("."), QStringLiteral("Desktop Files/..")}) {
    uninstallertest::RecordedLog log;
    RemoveInstalledFiles(folder, kIPhone, log.Sink());
    EXPECT_EQ(log.Lines().size(), 1) << folder.toStdString();
  }
  uninstallertest::RecordedLog log;
  RemoveInstalledFiles(testsupport::CurrentMachineRoot() + QStringLiteral("/missing/"), kIPhone, log.Sink());
  EXPECT_EQ(log.Lines().size(), 1);
  QDir::setCurrent(current);
  EXPECT_EQ(Entries(base), before);
}

installer::InstallSettingsState Settings() {
  installer::InstallSettingsState state;
  state.installFolder = QStringLiteral("/opt/Tarnwick Plus Lite/");
  state.webServiceUrl = "http://127.0.0.1:1/svc/";
  state.adminPassword = "pw";
  state.desktopName = "udid0001";
  state.deviceId = "udid0001";
  state.devicePassword = "devpw";
  state.deviceType = kIPhone;
  return state;
}

TEST(UninstallerRemoval, RemoveSettingsLeavesOnlyEmptyKeysAndTheVirtualStore) {
  const QString virtualStore = QStringLiteral("Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\TarnwickWebLite");
  {
    RegistryKeyGuard key;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, virtualStore, KEY_WRITE, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key.get(), QStringLiteral("v"), RegistryValue::FromDword(1)), ERROR_SUCCESS);
  }
  const installer::CRegistryHandler* writer = installer::GetRegistryHandler();
  ASSERT_EQ(writer->WriteAppSettings(Settings().installFolder, ConnSettings()), 0);
  ASSERT_EQ(writer->CreateAppSettings(Settings()), 0);
  ASSERT_FALSE(uninstallertest::RegistryValues(HKEY_LOCAL_MACHINE).isEmpty());

  uninstallertest::RecordedLog log;
  EXPECT_EQ(uninstaller::GetRegistryHandler()->RemoveSettings(log.Sink()), 0);
  EXPECT_EQ(uninstallertest::RegistryValues(HKEY_LOCAL_MACHINE), QStringList());
  EXPECT_TRUE(log.Lines().isEmpty()) << log.Lines().join(u'\n').toStdString();
  RegistryKeyGuard record;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(), KEY_READ, record.out()), ERROR_SUCCESS)
      << "the record key itself stays";
  EXPECT_EQ(uninstallertest::RegistryValues(HKEY_CURRENT_USER, virtualStore).size(), 1)
      << "the virtualised copy is never touched";
}

TEST(UninstallerRemoval, RemoveSettingsWithoutTheRecordKeyAttemptsEveryDeletion) {
  ASSERT_EQ(installer::GetRegistryHandler()->WriteAppSettings(Settings().installFolder, ConnSettings()), 0);
  installer::GetRegistryHandler()->CreateAddRemoveEntry(QStringLiteral("u"), QStringLiteral("i"));
  uninstallertest::RecordedLog log;
  EXPECT_EQ(uninstaller::GetRegistryHandler()->RemoveSettings(log.Sink()), 0);
  QStringList expected;
  for (const char* checkpoint : {"1", "2", "3", "4", "4.1"})
    expected.append(QStringLiteral("Problem in deleting settings<%1>: 2").arg(QLatin1String(checkpoint)));
  EXPECT_EQ(log.Lines(), expected);
  EXPECT_EQ(uninstallertest::RegistryValues(HKEY_LOCAL_MACHINE), QStringList());

  uninstallertest::RecordedLog again;
  uninstaller::GetRegistryHandler()->RemoveSettings(again.Sink());
  EXPECT_TRUE(again.Lines().contains(QStringLiteral("Problem in deleting settings<5.0>: 2")));
  EXPECT_TRUE(again.Lines().contains(QStringLiteral("Problem in deleting settings<Add Remove>: 2")));
}

}  // namespace
