#include "setup/uninstaller/UninstallerSettings.h"

#include "platform/registry/Registry.h"
#include "shared/contract/RegistryNames.h"
#include "shared/contract/SettingsKey.h"
#include "shared/crypto/Sealing.h"

#include <QStringDecoder>

#include <optional>

using namespace platform;

namespace {

// The code logged for a value that does not unseal to a record.
constexpr LSTATUS kErrorInvalidData = 13;

// The unsealed record, or nothing with the failing step's text and code logged.
std::optional<QByteArray> ReadSealed(const QString& keyName, const QString& valueName, int plainSize,
                                     const QString& failure, const SetupLogSink& log) {
  RegistryKeyGuard key;
  const LSTATUS opened = RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyName, KEY_READ, key.out());
  if (opened != ERROR_SUCCESS) {
    log(failure.arg(1).arg(opened));
    return std::nullopt;
  }
  RegistryValue value;
  LSTATUS queried = RegQueryValueEx(key.get(), valueName, &value);
  std::optional<QByteArray> plain;
  if (queried == ERROR_SUCCESS) {
    plain = value.type == REG_BINARY ? DecryptSetting(value.data) : std::nullopt;
    if (!plain || plain->size() < plainSize) queried = kErrorInvalidData;
  }
  if (queried != ERROR_SUCCESS) {
    log(failure.arg(2).arg(queried));
    return std::nullopt;
  }
  return plain;
}

std::optional<DeskInfo> ReadDeskRecord(const QString& failure, const SetupLogSink& log) {
  const auto plain =
      ReadSealed(registrynames::RecordKeyName(), registrynames::kDeskInfo, DeskInfo::kSize, failure, log);
  if (!plain) return std::nullopt;
  return DeskInfo::FromBytes(*plain);
}

}  // namespace

bool IsDesktopName(const QByteArray& name) {
  for (const char byte : name) {
    const auto unit = static_cast<unsigned char>(byte);
    if (unit < 0x20 || unit == 0x7F) return false;
  }
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString decoded = decoder(name);
  return !decoder.hasError() && !decoded.isEmpty();
}

QString ReadDeskInfo(const SetupLogSink& log) {
  const auto record = ReadDeskRecord(QStringLiteral("Problem in getting desk settings<%1> : %2"), log);
  if (!record || !IsDesktopName(record->desktopName)) return {};
  return QString::fromUtf8(record->desktopName);
}

int GetDeviceType(const SetupLogSink& log) {
  const auto record = ReadDeskRecord(QStringLiteral("Problem in getting dev settings<%1> : %2"), log);
  return record ? record->deviceType : -1;
}

int GetStartSyncStatus(uint32_t* status) {
  return settingskey::Read(settingskey::Dword::StartSyncStatus, status) ? 1 : 0;
}

void ReadConnSettings(ConnSettings* record, const SetupLogSink& log) {
  const auto plain = ReadSealed(registrynames::kSettingsKey, registrynames::kConnSettings, ConnSettings::kSize,
                                QStringLiteral("Problem in getting proxy settings<%1> : %2"), log);
  *record = plain ? ConnSettings::FromBytes(*plain) : ConnSettings();
}

int SetSyncServiceStatus(uint32_t status, const SetupLogSink& log) {
  RegistryKeyGuard key;
  const LSTATUS opened = RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out());
  if (opened != ERROR_SUCCESS) {
    log(QStringLiteral("Failed stop sync <App settings : 1> : %1").arg(opened));
    return -1;
  }
  const LSTATUS set = settingskey::Write(key.get(), settingskey::Dword::SyncServiceStatus, status);
  if (set != ERROR_SUCCESS) {
    log(QStringLiteral("Failed stop sync <App settings : 2> : %1").arg(set));
    return -4;
  }
  RegFlushKey(key.get());
  return 1;
}
