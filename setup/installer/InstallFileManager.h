#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// What the file worker reads of the install state.
struct InstallFileState {
  QString payloadFolder;  // where every source file lies, flat
  QString installFolder;  // as chosen, with or without its trailing "/"
  uint16_t deviceType = 0;
  bool createFolder = false;  // make a missing installation folder
  QString deviceId;
};

// The installer's file worker: the folder tree under the installation folder, the copies from
// the payload folder, the settings database adapted to this machine and device, and the
// deletions of a rollback. Every line goes to the install log. It keeps no state.
class CInstallFileManager {
 public:
  // 0, -1 installation folder or desktop folders, -2 device folders.
  int CreateDirStructure(const InstallFileState& state) const;
  // 0, or -1..-5: the first of the five desktop folders that could not be made.
  int CreateDeskDirStructure(const QString& installFolder) const;
  // 0, -1 "Device Installation Files", -2 a device folder.
  int CreateDeviceDirStructure(const QString& installFolder, uint16_t deviceType) const;

  // Copies replace what stands at the destination: each file is written under a temporary name
  // and renamed, so a program keeps its executable bit and no half-written file is left. The
  // first missing or unreadable source ends the copy with a message box owned by `owner`; the
  // files copied before stay.
  // 0, -1 CopyDesktopFiles failed, -2 CopyDevFiles failed.
  int CopyFiles(const InstallFileState& state, QWidget* owner = nullptr) const;
  // 0, -1 a program, -2 a database, -3 a snapshot; ends with UpdateSettingsDatabase.
  int CopyDesktopFiles(const InstallFileState& state, QWidget* owner = nullptr) const;
  // 0, -1 (types 1, 2 and 4) or -2 (type 3) at the first failed copy.
  int CopyDevFiles(const InstallFileState& state, QWidget* owner = nullptr) const;

  // Points every sample profile at the installation's database folder and gives every status row
  // to the device: 1 after the statements ran, 0 when the database could not be connected
  // (logged). The temporary data source name is gone afterwards on every path.
  int UpdateSettingsDatabase(const QString& installFolder, const QString& deviceId) const;

  // The rollback: deletes what the copies made, leaving "Desktop Files", its "Logs", the guides
  // and the installation folder. Failures are logged and the walk goes on.
  void DeleteInstalledFiles(const QString& installFolder, uint16_t deviceType) const;
  // Deletes every file directly in `folder`; failures are logged.
  void DeleteFolderFiles(const QString& folder) const;
  // True when an entry (file or folder) stands at `path`.
  bool FileExists(const QString& path) const;
};

// The one file worker of the process.
CInstallFileManager* GetInstallFileManager();
