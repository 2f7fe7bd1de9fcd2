#include "platform/os/MachineRoot.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {
namespace {

QString Ensured(const QString& path) {
  QDir().mkpath(path);
  return path;
}

QString XdgDataHome() {
  const QString fromEnv = qEnvironmentVariable("XDG_DATA_HOME");
  if (!fromEnv.isEmpty()) return fromEnv;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

QString XdgConfigHome() {
  const QString fromEnv = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!fromEnv.isEmpty()) return fromEnv;
  return QDir::homePath() + QStringLiteral("/.config");
}

// The user's own folder of a kind, as the XDG user-dirs configuration names it.
QString XdgUserFolder(QStandardPaths::StandardLocation location, const QString& fallback) {
  const QString path = QStandardPaths::writableLocation(location);
  return path.isEmpty() || path == QDir::homePath() ? QDir::homePath() + fallback : path;
}

QString RealSpecialFolder(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::Desktop:
      return XdgUserFolder(QStandardPaths::DesktopLocation, QStringLiteral("/Desktop"));
    case SpecialFolder::MyDocuments:
      return XdgUserFolder(QStandardPaths::DocumentsLocation, QStringLiteral("/Documents"));
    case SpecialFolder::Startup:
      return XdgConfigHome() + QStringLiteral("/autostart");
    case SpecialFolder::Programs:
      return XdgDataHome() + QStringLiteral("/applications");
    case SpecialFolder::LocalAppData:
      return XdgDataHome();
    case SpecialFolder::ProgramFiles:
      return QDir::homePath() + QStringLiteral("/.local/opt");
  }
  return {};
}

QString RootedSpecialFolder(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::Desktop:
      return MachineRoot() + QStringLiteral("/home/Desktop");
    case SpecialFolder::MyDocuments:
      return MachineRoot() + QStringLiteral("/home/Documents");
    case SpecialFolder::Startup:
      return MachineRoot() + QStringLiteral("/home/.config/autostart");
    case SpecialFolder::Programs:
      return MachineRoot() + QStringLiteral("/home/.local/share/applications");
    case SpecialFolder::LocalAppData:
      return MachineRoot() + QStringLiteral("/home/.local/share");
    case SpecialFolder::ProgramFiles:
      return MachineRoot() + QStringLiteral("/opt");
  }
  return {};
}

}  // namespace

bool HasExplicitMachineRoot() {
  return !qEnvironmentVariable("TARNWICK_MACHINE_ROOT").isEmpty();
}

QString MachineRoot() {
  const QString explicitRoot = qEnvironmentVariable("TARNWICK_MACHINE_ROOT");
  // A relative root is taken from the folder the program started in, so that programs it starts
  // elsewhere (the starter runs the sync program in "Desktop Files") still find the same root.
  if (!explicitRoot.isEmpty()) return QDir::cleanPath(QDir(explicitRoot).absolutePath());
  return XdgDataHome() + QStringLiteral("/tarnwick");
}

QString RegistryFolder() { return Ensured(MachineRoot() + QStringLiteral("/registry")); }

QString RunFolder() { return Ensured(MachineRoot() + QStringLiteral("/run")); }

QString OdbcFolder() { return Ensured(MachineRoot() + QStringLiteral("/odbc")); }

QString SpecialFolderPath(SpecialFolder folder) {
  return Ensured(HasExplicitMachineRoot() ? RootedSpecialFolder(folder) : RealSpecialFolder(folder));
}

}  // namespace platform
