#include "setup/common/SetupSystem.h"

#include "platform/registry/Registry.h"
#include "shared/SystemInfo.h"

#include <QUrl>

namespace {

// The setting was read into a buffer of 260 bytes.
constexpr qsizetype kMaxProxyText = 259;

QString ReadText(platform::HKEY root, const QString& key, const QString& name) {
  using namespace platform;
  RegistryKeyGuard handle;
  RegistryValue value;
  if (RegOpenKeyEx(root, key, KEY_READ, handle.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(handle.get(), name, &value) != ERROR_SUCCESS || value.type != REG_SZ) {
    return {};
  }
  return value.ToString().left(kMaxProxyText);
}

QString EnvironmentProxy() {
  QString text = qEnvironmentVariable("http_proxy");
  if (text.isEmpty()) text = qEnvironmentVariable("HTTP_PROXY");
  if (text.isEmpty()) return {};
  if (!text.contains(QStringLiteral("://"))) text.prepend(QStringLiteral("http://"));
  const QUrl url(text);
  if (url.host().isEmpty()) return {};
  return url.port() > 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port()) : url.host();
}

}  // namespace

QString GetIEProxyServer() {
  const QString fromSettings = ReadText(platform::HKEY_CURRENT_USER,
                                        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
                                        QStringLiteral("ProxyServer"));
  return fromSettings.isEmpty() ? EnvironmentProxy() : fromSettings;
}

bool IsNT6ClientEdition() {
  SystemInfo info;
  return info.DetectWindowsVersion() && info.OsKind() >= 29 && info.OsKind() <= 37;
}
