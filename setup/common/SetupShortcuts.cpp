#include "setup/common/SetupShortcuts.h"

#include "platform/os/MachineRoot.h"
#include "platform/os/ShellLink.h"
#include "shared/StartupShortcut.h"
#include "shared/contract/InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kPocketPc = 3;

const QString kProductName = QStringLiteral("Tarnwick Plus Lite");

QString Folder(platform::SpecialFolder folder) { return platform::SpecialFolderPath(folder) + u'/'; }
QString StartMenuFolder() { return Folder(platform::SpecialFolder::Programs) + kProductName + u'/'; }
QString LinkPath(const QString& folder, const QString& linkName) { return platform::ShellLinkPath(folder.chopped(1), linkName); }

QString FileNameOf(const QString& target) { return installlayout::ProgramFileName(QFileInfo(target).fileName()); }

struct StartMenuLink {
  QString linkName;
  QString targetName;
};

const StartMenuLink kStartMenuLinks[] = {
    {QStringLiteral("Tarnwick Plus Lite.lnk"), QStringLiteral("TarnwickPlusLite.exe")},
    {QStringLiteral("User Guide.lnk"), QStringLiteral("TarnwickPlusUserGuide.pdf")},
    {QStringLiteral("UnInstall Tarnwick Plus Lite.lnk"), QStringLiteral("TarnwickPlusLiteUnInstaller.exe")},
};
const QString kDesktopLinks[] = {QStringLiteral("Tarnwick Plus Lite.lnk"), QStringLiteral("Tarnwick Plus Lite UserGuide.lnk")};
const QString kPocketPcLink = QStringLiteral("PocketPC Setup.lnk");

void DeleteLink(const QString& path, const SetupLogSink& log) {
  if (!QFile::remove(path)) log(QStringLiteral("Problem in deleting shortcut : ") + path);
}

}  // namespace

long CreateShortcut(const QString& target, const QString& linkFile, const QString& workingFolder,
                    const QString& arguments, const QString& description) {
  return platform::CreateShellLink(linkFile, {target, workingFolder, arguments, description}) ? platform::S_OK : platform::E_FAIL;
}

int CreateAppShortcuts(const QString& installationFolder, int deviceType) {
  const QString desktopFiles = installationFolder + installlayout::kDesktopFiles;
  const QString desktop = Folder(platform::SpecialFolder::Desktop);
  CreateShortcut(desktopFiles + QStringLiteral("TarnwickPlusLite.exe"), LinkPath(desktop, kDesktopLinks[0]),
                 desktopFiles, QString(), kProductName);
  CreateShortcut(desktopFiles + QStringLiteral("TarnwickPlusUserGuide.pdf"), LinkPath(desktop, kDesktopLinks[1]),
                 desktopFiles, QString(), kProductName);
  const QString startMenu = StartMenuFolder();
  QDir().mkpath(startMenu);
  for (const StartMenuLink& link : kStartMenuLinks) {
    const QString target = desktopFiles + link.targetName;
    CreateShortcut(target, LinkPath(startMenu, link.linkName), desktopFiles, QString(), FileNameOf(target));
  }
  if (deviceType == kPocketPc) {
    const QString folder = installationFolder + QStringLiteral("Device Installation Files/PocketPC/");
    CreateShortcut(folder + QStringLiteral("PocketPC_Setup.exe"), LinkPath(startMenu, kPocketPcLink), folder, QString(),
                   QString());
  }
  return 1;
}

bool CreateStartupShortCut(const QString& installationFolder) {
  const QString folder = StartupShortcutFolder(installationFolder);
  return CreateShortcut(folder + kStartSyncProgramName, StartupShortcutPath(), folder, QString(), QString()) ==
         platform::S_OK;
}

int DeleteAppShortcuts(int deviceType, const SetupLogSink& log) {
  const QString startMenu = StartMenuFolder();
  for (const StartMenuLink& link : kStartMenuLinks) DeleteLink(LinkPath(startMenu, link.linkName), log);
  if (deviceType == kPocketPc) DeleteLink(LinkPath(startMenu, kPocketPcLink), log);
  const QString desktop = Folder(platform::SpecialFolder::Desktop);
  for (const QString& link : kDesktopLinks) DeleteLink(LinkPath(desktop, link), log);
  if (!QDir().rmdir(startMenu)) log(QStringLiteral("Problem in deleting shortcut : ") + startMenu);
  return 0;
}

bool DeleteStartupShortCut(const SetupLogSink& log) {
  const QString path = StartupShortcutPath();
  if (QFile::remove(path)) return true;
  log(QStringLiteral("<Startup Setting> Problem in deleting shortcut : ") + path);
  return false;
}
