// The registry of an installed desktop in the machine root ($TARNWICK_MACHINE_ROOT), for the demo:
//   TarnwickDemoSetup install <installation folder> <web-service address> <desktop name>
//                     <device id> <change-detection minutes>
// writes it as the installer leaves it, the sync program's switch set to run (the next IDs and
// record indexes of a demo run before on the same root are kept);
//   TarnwickDemoSetup switch <0|1>
// sets SyncServiceStatus, which the sync program polls: 0 makes it end.
#include "platform/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/crypto/Sealing.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace platform;

namespace {

// The samples the shipped settings database holds: profiles 1 and 2, form 1.
constexpr DWORD kNextProfileId = 3;
constexpr DWORD kNextFormId = 2;
const QStringList kSampleProfiles{QStringLiteral("1"), QStringLiteral("2")};

bool Store(const QString& keyName, const QString& name, const RegistryValue& value, bool keepExisting = false) {
  RegistryKeyGuard key;
  if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS) return false;
  RegistryValue existing;
  if (keepExisting && RegQueryValueEx(key.get(), name, &existing) == ERROR_SUCCESS) return true;
  return RegSetValueEx(key.get(), name, value) == ERROR_SUCCESS;
}

bool StoreSealed(const QString& keyName, const QString& name, const QByteArray& plain) {
  return Store(keyName, name, RegistryValue::FromBinary(EncryptSetting(plain)));
}

bool StoreAll(const QStringList& args) {
  SyncInfo sync;
  sync.changeDetectionMinutes = args.at(4).toInt();
  sync.webServiceUrl = args.at(1).toUtf8();
  DeskInfo desk;
  desk.desktopName = args.at(2).toUtf8();
  desk.deviceId = args.at(3).toUtf8();
  bool stored = Store(kSettingsKey, QStringLiteral("InstallationPath"), RegistryValue::FromString(args.at(0))) &&
                Store(kSettingsKey, QStringLiteral("SyncServiceStatus"), RegistryValue::FromDword(1)) &&
                Store(kSettingsKey, QStringLiteral("StartSyncStatus"), RegistryValue::FromDword(0)) &&
                Store(kSettingsKey, QStringLiteral("NextProfileID"), RegistryValue::FromDword(kNextProfileId), true) &&
                Store(kSettingsKey, QStringLiteral("NextFormID"), RegistryValue::FromDword(kNextFormId), true) &&
                StoreSealed(RecordKeyName(), QStringLiteral("SyncInfo"), sync.ToBytes()) &&
                StoreSealed(RecordKeyName(), QStringLiteral("DeskInfo"), desk.ToBytes()) &&
                StoreSealed(kSettingsKey, QStringLiteral("ConnSettings"), ConnSettings().ToBytes());
  for (const QString& profile : kSampleProfiles)
    stored = stored && Store(kRecordIndexKey, profile, RegistryValue::FromDword(1), true);
  return stored;
}

}  // namespace

int main(int argc, char** argv) {
  const QCoreApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  const QString command = args.value(0);
  bool stored = false;
  if (command == QStringLiteral("install") && args.size() == 6) {
    stored = StoreAll(args.mid(1));
  } else if (command == QStringLiteral("switch") && args.size() == 2) {
    stored = Store(kSettingsKey, QStringLiteral("SyncServiceStatus"), RegistryValue::FromDword(args.at(1).toUInt()));
  } else {
    std::fputs("usage: TarnwickDemoSetup install <installation folder> <web-service address> <desktop name> "
               "<device id> <change-detection minutes>\n       TarnwickDemoSetup switch <0|1>\n",
               stderr);
    return 2;
  }
  if (!stored) {
    std::fputs("The registry of the machine root could not be written.\n", stderr);
    return 1;
  }
  return 0;
}
