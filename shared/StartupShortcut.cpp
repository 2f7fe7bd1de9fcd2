#include "shared/StartupShortcut.h"

#include "platform/MachineRoot.h"
#include "platform/ShellLink.h"

QString StartupShortcutPath() {
  return platform::ShellLinkPath(platform::SpecialFolderPath(platform::SpecialFolder::Startup), kStartupShortcutName);
}

QString StartupShortcutFolder(const QString& installationFolder) {
  return installationFolder + QStringLiteral("Desktop Files/");
}
