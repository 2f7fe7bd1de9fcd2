#include "setup/installer/RegistryHandler.h"

#include "platform/registry/Registry.h"
#include "setup/common/SettingsRemoval.h"
#include "setup/common/SetupLog.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RecordKey.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"

using namespace platform;

namespace installer {
namespace {

// The next IDs and record indexes after the shipped sample profiles 1 and 2 and form 1.
constexpr DWORD kNextProfileId = 3;
constexpr DWORD kNextFormId = 2;
constexpr DWORD kSampleRecordIndex = 25;
constexpr int kSampleProfiles[] = {1, 2};

const QString kProductName = QStringLiteral("Tarnwick Plus Lite");

// Failure texts of one sealed-record writer: key not created, key not opened, value not set.
struct SealedValueTexts {
  QString create;
  QString open;
  QString set;
};

// Creates the key (an existing one is accepted), opens it again for writing, sets the sealed
// value through `write` and flushes: 0, -1 not created, -2 not opened, -3 not set.
template <typename Write>
int WriteSealedRecord(const QString& keyName, const Write& write, const SealedValueTexts& texts) {
  {
    RegistryKeyGuard created;
    const LSTATUS code = RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, created.out());
    if (code != ERROR_SUCCESS) {
      WriteInstallLog(texts.create.arg(code));
      return -1;
    }
  }
  RegistryKeyGuard key;
  const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_WRITE, key.out());
  if (opened != ERROR_SUCCESS) {
    WriteInstallLog(texts.open.arg(opened));
    return -2;
  }
  const LSTATUS set = write(key.get());
  if (set != ERROR_SUCCESS) {
    WriteInstallLog(texts.set.arg(set));
    return -3;
  }
  RegFlushKey(key.get());
  return 0;
}

// Opens `keyName` for writing after creating it; the open's code.
LSTATUS OpenForWriting(const QString& keyName, RegistryKeyGuard* key) {
  {
    RegistryKeyGuard created;
    const LSTATUS code = RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_ALL_ACCESS, created.out());
    if (code != ERROR_SUCCESS) return code;
  }
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_WRITE, key->out());
}

// A REG_SZ stored without its terminating zero, as InstallationPath is.
RegistryValue TextWithoutZero(const QString& text) {
  RegistryValue value = RegistryValue::FromString(text);
  value.data.chop(2);
  return value;
}

struct NamedValue {
  QString name;
  RegistryValue value;
  QString failure;
};

QList<NamedValue> AppValues(const QString& installFolder) {
  return {
      {registrynames::kInstallationPath, TextWithoutZero(installFolder),
       QStringLiteral("Failed to Create App settings <2> : %1")},
      {registrynames::kNextProfileId, RegistryValue::FromDword(kNextProfileId),
       QStringLiteral("Failed to Create App settings <3> : %1")},
      {registrynames::kSyncServiceStatus, RegistryValue::FromDword(1),
       QStringLiteral("Failed to Create App settings <4> : %1")},
      {registrynames::kStartSyncStatus, RegistryValue::FromDword(0),
       QStringLiteral("Failed to Create App settings <5> : %1")},
      {registrynames::kNextFormId, RegistryValue::FromDword(kNextFormId),
       QStringLiteral("Failed to Create App settings <5.1> : %1")},
  };
}

// With the folder's trailing "/" dropped, as the Add/Remove entry names the programs.
QString DesktopFilesPath(const QString& installFolder, const QString& windowsName) {
  QString folder = installFolder;
  while (folder.endsWith(u'/')) folder.chop(1);
  return folder + u'/' + installlayout::kDesktopFiles + installlayout::ProgramFileName(windowsName);
}

}  // namespace

int CRegistryHandler::CreateAppSettings(const InstallSettingsState& state) const {
  if (WriteAppSettings(state.installFolder, state.connection) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create App settings <1> "));
    return -1;
  }
  if (WriteSyncInfo(state.webServiceUrl) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create Sync settings <2> "));
    return -2;
  }
  if (WriteAdminPassword(state.adminPassword) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create App settings <2> "));
    return -3;
  }
  if (WriteDeskInfo(state.desktopName, state.deviceId, state.devicePassword, state.deviceType) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create App settings <6> "));
    return -6;
  }
  if (WriteAppWPk(1) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create App settings <7> "));
    return -7;
  }
  CreateAddRemoveEntry(DesktopFilesPath(state.installFolder, QStringLiteral("TarnwickPlusLiteUnInstaller.exe")),
                       DesktopFilesPath(state.installFolder, QStringLiteral("TarnwickPlusLite.exe")));
  return 0;
}

int CRegistryHandler::WriteAppSettings(const QString& installFolder, const ConnSettings& connection) const {
  WriteInstallLog(QStringLiteral("Creating App settings."));
  {
    RegistryKeyGuard key;
    const LSTATUS opened = OpenForWriting(registrynames::kSettingsKey, &key);
    if (opened != ERROR_SUCCESS) {
      WriteInstallLog(QStringLiteral("Failed to Create App settings <1> : %1").arg(opened));
      return -1;
    }
    int failure = -2;
    for (const NamedValue& value : AppValues(installFolder)) {
      const LSTATUS set = RegSetValueEx(key.get(), value.name, value.value);
      if (set != ERROR_SUCCESS) {
        WriteInstallLog(value.failure.arg(set));
        return failure;
      }
      --failure;
    }
    RegFlushKey(key.get());
  }
  if (WriteConnSettings(connection) != 0) {
    WriteInstallLog(QStringLiteral("Failed to create App settings <6> "));
    return -1;
  }
  for (const int profile : kSampleProfiles) CreateRISettings(profile, kSampleRecordIndex);
  return 0;
}

int CRegistryHandler::WriteConnSettings(const ConnSettings& connection) const {
  WriteInstallLog(QStringLiteral("Creating Conn settings."));
  return WriteSealedRecord(registrynames::kSettingsKey,
                           [&](HKEY key) { return settingskey::WriteConnSettings(key, connection); },
                           {QStringLiteral("Failed to Create Conn settings <1> : %1"),
                            QStringLiteral("Failed to Create Conn settings <2> : %1"),
                            QStringLiteral("Failed to Get Conn settings <3> : %1")});
}

int CRegistryHandler::WriteSyncInfo(const QByteArray& webServiceUrl) const {
  WriteInstallLog(QStringLiteral("Creating Sync settings."));
  if (webServiceUrl.size() > kMaxWebServiceUrlBytes) {
    WriteInstallLog(QStringLiteral("Failed to Create Sync settings <3> : %1").arg(ERROR_INVALID_PARAMETER));
    return -3;
  }
  SyncInfo record;
  record.changeDetectionMinutes = 1;
  record.backSyncMinutes = 2;
  record.webServiceUrl = webServiceUrl;
  return WriteSealedRecord(registrynames::RecordKeyName(),
                           [&](HKEY key) { return recordkey::WriteSyncInfo(key, record); },
                           {QStringLiteral("Failed to Create Sync settings <1> : %1"),
                            QStringLiteral("Failed to Create Sync settings <2> : %1"),
                            QStringLiteral("Failed to Create Sync settings <3> : %1")});
}

int CRegistryHandler::WriteDeskInfo(const QByteArray& desktopName, const QByteArray& deviceId,
                                    const QByteArray& devicePassword, uint16_t deviceType) const {
  WriteInstallLog(QStringLiteral("Creating desk settings."));
  DeskInfo record;
  record.desktopName = desktopName;
  record.deviceId = deviceId;
  record.devicePassword = devicePassword;
  record.deviceType = deviceType;
  return WriteSealedRecord(registrynames::RecordKeyName(),
                           [&](HKEY key) { return recordkey::WriteDeskInfo(key, record); },
                           {QStringLiteral("Failed to Create Desk settings <1> : %1"),
                            QStringLiteral("Failed to Create Desk settings <2> : %1"),
                            QStringLiteral("Failed to Get Desk settings <3> : %1")});
}

int CRegistryHandler::WriteAdminPassword(const QByteArray& password) const {
  WriteInstallLog(QStringLiteral("Creating A P."));
  RegistryKeyGuard key;
  const LSTATUS opened = OpenForWriting(registrynames::RecordKeyName(), &key);
  if (opened != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("Failed to Create AP App settings <1> : %1").arg(opened));
    return -1;
  }
  if (recordkey::WriteAdminPassword(key.get(), password) != ERROR_SUCCESS) {
    return -2;
  }
  RegFlushKey(key.get());
  return 0;
}

int CRegistryHandler::WriteAppWPk(uint32_t value) const {
  WriteInstallLog(QStringLiteral("Creating App WPk."));
  RegistryKeyGuard key;
  const LSTATUS opened = OpenForWriting(registrynames::RecordKeyName(), &key);
  if (opened != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("Failed to Create AppWPk App settings <1> : %1").arg(opened));
    return -1;
  }
  const LSTATUS set = recordkey::WriteAppWPk(key.get(), value);
  if (set != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("Failed to Create AppWPk App settings <1> : %1").arg(set));
    return -2;
  }
  RegFlushKey(key.get());
  return 0;
}

bool CRegistryHandler::CreateRISettings(int profile, uint32_t index) const {
  {
    RegistryKeyGuard created;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_ALL_ACCESS, created.out()) !=
        ERROR_SUCCESS) {
      WriteInstallLog(QStringLiteral("<CNRI> Failed to create App settings <1> "));
      return false;
    }
  }
  RegistryKeyGuard key;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey, KEY_WRITE, key.out()) != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("<CNRI> Failed to Open App settings <2> "));
    return false;
  }
  if (RegSetValueEx(key.get(), QString::number(profile), RegistryValue::FromDword(index)) != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("<CNRI> Failed to Set App settings <3> "));
    return false;
  }
  RegFlushKey(key.get());
  return true;
}

void CRegistryHandler::CreateAddRemoveEntry(const QString& uninstallCommand, const QString& iconPath) const {
  RegistryKeyGuard key;
  const LSTATUS opened = OpenForWriting(kAddRemoveKey, &key);
  if (opened != ERROR_SUCCESS) {
    WriteInstallLog(QStringLiteral("Failed to create Install App settings <Add Remove> <1>: %1").arg(opened));
    return;
  }
  const NamedValue values[] = {
      {QStringLiteral("DisplayName"), RegistryValue::FromString(kProductName),
       QStringLiteral("Failed to create Install App settings <Add Remove> <2>: %1")},
      {QStringLiteral("DisplayIcon"), RegistryValue::FromString(iconPath),
       QStringLiteral("Failed to create Install App settings <Add Remove> <2.1>: %1")},
      {QStringLiteral("UninstallString"), RegistryValue::FromString(uninstallCommand),
       QStringLiteral("Failed to create Install App settings <Add Remove> <3>: %1")},
  };
  for (const NamedValue& value : values) {
    const LSTATUS set = RegSetValueEx(key.get(), value.name, value.value);
    if (set != ERROR_SUCCESS) WriteInstallLog(value.failure.arg(set));
  }
  RegFlushKey(key.get());
}

int CRegistryHandler::DestroySettings() const {
  WriteInstallLog(QStringLiteral("Destroying settings..."));
  return DeleteInstallationSettings(kInstallerIndexKeyCheckpoint, WriteInstallLog);
}

CRegistryHandler* GetRegistryHandler() {
  static CRegistryHandler handler;
  return &handler;
}

}  // namespace installer
