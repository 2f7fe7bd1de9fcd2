#include "shared/StartupShortcut.h"

#include "platform/MachineRoot.h"
#include "platform/ShellLink.h"

QString StartupShortcutPath() {
  return platform::ShellLinkPath(platform::SpecialFolderPath(platform::SpecialFolder::Startup), kStartupShortcutName);
}

bool WriteStartupShortcut(const QString& installationFolder) {
  const QString folder = installationFolder + QStringLiteral("Desktop Files/");
  return platform::CreateShellLink(StartupShortcutPath(), {folder + kStartSyncProgramName, folder, QString(), QString()});
}
