#pragma once

#include "platform/MachineRoot.h"
#include "platform/Registry.h"
#include "shared/LogLine.h"
#include "shared/RegistryRecords.h"
#include "shared/Sealing.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include <cstdint>

// An installation of the administration program inside the test's machine root: the
// installation folder with "Desktop Files/Logs", its registry value, and optionally a desktop
// registration (DeskInfo) with a device type.
namespace testsupport {

inline QString InstallAdmin() {
  using namespace platform;
  const QString folder = platform::MachineRoot() + QStringLiteral("/Tarnwick Plus/");
  EXPECT_TRUE(QDir().mkpath(folder + QStringLiteral("Desktop Files/Logs")));
  RegistryKeyGuard key;
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key.get(), QStringLiteral("InstallationPath"), RegistryValue::FromString(folder)),
            ERROR_SUCCESS);
  return folder;
}

inline void RegisterDesktop(uint16_t deviceType, const QByteArray& desktopName = "desk-01",
                            const QByteArray& deviceId = "user01") {
  using namespace platform;
  DeskInfo info;
  info.desktopName = desktopName;
  info.deviceId = deviceId;
  info.deviceType = deviceType;
  RegistryKeyGuard key;
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, RecordKeyName(), KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key.get(), QStringLiteral("DeskInfo"),
                          RegistryValue::FromBinary(EncryptSetting(info.ToBytes()))),
            ERROR_SUCCESS);
}

// The path of today's administration log under the installation folder.
inline QString TodaysAdminLog(const QString& installation) {
  return installation + QStringLiteral("Desktop Files/Logs/") + logline::DayFolderName(QDate::currentDate()) +
         QStringLiteral("/DesktopLog.log");
}

// The lines of a UTF-16LE log file, without its byte-order mark.
inline QStringList ReadLogLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll().mid(2);
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace testsupport
