#include "shared/StartupShortcut.h"

#include "platform/MachineRoot.h"
#include "platform/ShellLink.h"
#include "shared/contract/InstallLayout.h"

QString StartupShortcutPath() {
  return platform::ShellLinkPath(platform::SpecialFolderPath(platform::SpecialFolder::Startup), kStartupShortcutName);
}

QString StartupShortcutFolder(const QString& installationFolder) {
  return installationFolder + installlayout::kDesktopFiles;
}
