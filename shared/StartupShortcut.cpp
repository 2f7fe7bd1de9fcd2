#include "shared/StartupShortcut.h"

#include "platform/os/MachineRoot.h"
#include "platform/os/ShellLink.h"
#include "shared/contract/InstallLayout.h"

QString StartupShortcutPath() {
  return platform::ShellLinkPath(platform::SpecialFolderPath(platform::SpecialFolder::Startup), kStartupShortcutName);
}

QString StartupShortcutFolder(const QString& installationFolder) {
  return installationFolder + installlayout::kDesktopFiles;
}
