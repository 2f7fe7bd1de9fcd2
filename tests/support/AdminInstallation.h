#pragma once

#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"
#include "shared/LogLine.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include <cstdint>

// An installation of the administration program inside the test's machine root: the
// installation folder with "Desktop Files/Logs", its registry value, and on request the shipped
// settings database and a desktop registration (DeskInfo) with a device type.
namespace testsupport {

inline QString InstallAdmin() {
  using namespace platform;
  const QString folder = platform::MachineRoot() + QStringLiteral("/Tarnwick Plus/");
  EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("Desktop Files/Logs")));
  RegistryKeyGuard key;
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key.get(), QStringLiteral("InstallationPath"), RegistryValue::FromString(folder)),
            ERROR_SUCCESS);
  return folder;
}

// A writable copy of the shipped settings database in the installation's "Desktop Files/DB".
inline QString InstallSettingsDatabase(const QString& installation) {
  const QString folder = installation + QStringLiteral("Desktop Files/DB/");
  EXPECT_TRUE(QDir().mkpath(folder));
  const QString file = folder + QStringLiteral("UserProfileDB.mdb");
  EXPECT_TRUE(QFile::copy(BinaryDir() + QStringLiteral("/db/UserProfileDB.mdb"), file));
  QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
  return file;
}

inline void RegisterDesktop(uint16_t deviceType, const QByteArray& desktopName = "desk-01",
                            const QByteArray& deviceId = "user01") {
  DeskInfo info;
  info.desktopName = desktopName;
  info.deviceId = deviceId;
  info.deviceType = deviceType;
  EXPECT_TRUE(StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"), info.ToBytes()));
}

// The path of today's administration log under the installation folder.
inline QString TodaysAdminLog(const QString& installation) {
  return installation + QStringLiteral("Desktop Files/Logs/") + logline::DayFolderName(QDate::currentDate()) +
         QStringLiteral("/DesktopLog.log");
}

}  // namespace testsupport
