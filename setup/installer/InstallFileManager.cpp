#include "setup/installer/InstallFileManager.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcText.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/InstallationRemoval.h"
#include "setup/common/SetupFileRemoval.h"
#include "setup/common/SetupLog.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/OdbcStatement.h"
#include "shared/odbc/SqlQuotes.h"

#include <sqlext.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace installlayout;

namespace {

const QString kAccessDriver = QStringLiteral("Microsoft Access Driver (*.mdb)");
const QString kProductCaption = QStringLiteral("Tarnwick Plus Lite");
const QString kSnapshotCaption = QStringLiteral("Tarnwick Plus");  // the boxes of the snapshot copies

// The installation folder with exactly one trailing "/".
QString WithSlash(const QString& folder) {
  QString text = folder;
  while (text.endsWith(u'/')) text.chop(1);
  return text + u'/';
}

// Makes a folder; one that exists already counts as made.
bool MakeFolder(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) return true;
  return QDir().mkdir(path);
}

// Writes the copy under a temporary name beside the destination and renames it over the
// destination, so a reader sees the old file or the whole new one, with the source's permissions.
bool CopyReplacing(const QString& source, const QString& destination) {
  const QString temporary = destination + QStringLiteral(".part");
  QFile::remove(temporary);
  if (!QFile::copy(source, temporary)) return false;
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(destination).constData()) != 0) {
    QFile::remove(temporary);
    return false;
  }
  return true;
}

// Copies the table's files in order; false at the first that fails, after its log line and box.
bool CopyTableFiles(const QString& payloadFolder, const QString& installFolder, const CopyTable& table,
                    const QString& caption, QWidget* owner) {
  for (const CopyEntry& entry : table.files) {
    if (CopyReplacing(WithSlash(payloadFolder) + entry.source, installFolder + table.folder + entry.destination)) {
      continue;
    }
    WriteInstallLog(QStringLiteral("Failed to copy file: ") + entry.destination);
    platform::MessageBox(owner, QStringLiteral("Could not copy file ") + entry.destination, caption,
                         platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  return true;
}

QStringList FixUpStatements(const QString& dbFolder, const QString& deviceId) {
  const QString folder = SqlTextValue(dbFolder);
  const QString device = SqlTextValue(deviceId);
  return {QStringLiteral("Update %1 Set Path = '").arg(settingsdb::kProfileInfo) + folder +
              QStringLiteral("', tempPath = '") + folder + QStringLiteral("', UserList = '") + device +
              QStringLiteral(",") + QStringLiteral("'"),
          QStringLiteral("Update %1 Set UserID = '").arg(settingsdb::kUserProfileStatus) + device + QStringLiteral("'"),
          QStringLiteral("Update %1 Set UserID = '").arg(settingsdb::kUserFormStatus) + device + QStringLiteral("'")};
}

void RunStatement(SQLHDBC connection, const QString& sql) {
  const platform::OdbcHandle statement = NewCursorStatement(connection);
  if (!statement) {
    WriteInstallLog(QStringLiteral("<UpdateSettingsDatabase> No statement for: ") + sql);
    return;
  }
  const SQLRETURN result = SQLExecDirectW(statement.get(), platform::SqlText(sql), SQL_NTS);
  if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
    WriteInstallLog(QStringLiteral("<UpdateSettingsDatabase> Statement failed: ") + sql + u' ' +
                    FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get()),
                                          OdbcTextForm::Diagnostic));
  }
}

// Removes the temporary data source name when it goes out of scope, whatever path the fix-up took.
class TemporaryDataSource {
 public:
  TemporaryDataSource() = default;
  ~TemporaryDataSource() { platform::RemoveDataSource(datasources::kInstallerSettings); }
  TemporaryDataSource(const TemporaryDataSource&) = delete;
  TemporaryDataSource& operator=(const TemporaryDataSource&) = delete;
};

}  // namespace

int CInstallFileManager::CreateDirStructure(const InstallFileState& state) const {
  const QString folder = WithSlash(state.installFolder).chopped(1);
  if (!QFileInfo(folder).isDir() && state.createFolder) QDir().mkdir(folder);
  if (CreateDeskDirStructure(state.installFolder) != 0) {
    WriteInstallLog(QStringLiteral("Problem in creating desk dir structure."));
    return -1;
  }
  if (CreateDeviceDirStructure(state.installFolder, state.deviceType) != 0) {
    WriteInstallLog(QStringLiteral("Problem in creating device dir structure."));
    return -2;
  }
  return 0;
}

int CInstallFileManager::CreateDeskDirStructure(const QString& installFolder) const {
  const QString base = WithSlash(installFolder);
  int code = -1;
  for (const QString& folder : DesktopFolders()) {
    if (!MakeFolder(base + folder)) return code;
    --code;
  }
  return 0;
}

int CInstallFileManager::CreateDeviceDirStructure(const QString& installFolder, uint16_t deviceType) const {
  const QString base = WithSlash(installFolder);
  if (!MakeFolder(base + kDeviceFiles)) return -1;
  if (deviceType == kBlackBerry) WriteInstallLog(QStringLiteral("Creating dir structure for BB."));
  if (deviceType == kPocketPc) WriteInstallLog(QStringLiteral("Creating dir structure for PPC."));
  for (const QString& folder : DeviceFolders(deviceType)) {
    if (!MakeFolder(base + folder)) {
      WriteInstallLog(QStringLiteral("Creating dir structure."));
      return -2;
    }
  }
  return 0;
}

int CInstallFileManager::CopyFiles(const InstallFileState& state, QWidget* owner) const {
  if (CopyDesktopFiles(state, owner) != 0) {
    WriteInstallLog(QStringLiteral("CopyDesktopFiles problem."));
    return -1;
  }
  if (CopyDevFiles(state, owner) != 0) {
    WriteInstallLog(QStringLiteral("CopyDevFiles problem."));
    return -2;
  }
  return 0;
}

int CInstallFileManager::CopyDesktopFiles(const InstallFileState& state, QWidget* owner) const {
  const QString base = WithSlash(state.installFolder);
  if (!CopyTableFiles(state.payloadFolder, base, ProgramTable(), kProductCaption, owner)) return -1;
  if (!CopyTableFiles(state.payloadFolder, base, DatabaseTable(state.deviceType), kProductCaption, owner)) return -2;
  if (!CopyTableFiles(state.payloadFolder, base, SnapshotTable(), kSnapshotCaption, owner)) return -3;
  UpdateSettingsDatabase(state.installFolder, state.deviceId);
  return 0;
}

int CInstallFileManager::CopyDevFiles(const InstallFileState& state, QWidget* owner) const {
  const QString base = WithSlash(state.installFolder);
  const int failure = state.deviceType == kPocketPc ? -2 : -1;
  for (const CopyTable& table : DeviceTables(state.deviceType)) {
    if (!CopyTableFiles(state.payloadFolder, base, table, kProductCaption, owner)) return failure;
  }
  return 0;
}

int CInstallFileManager::UpdateSettingsDatabase(const QString& installFolder, const QString& deviceId) const {
  const QString dbFolder = WithSlash(installFolder) + kDbFolder;
  platform::OdbcHandle environment;
  platform::OdbcHandle connection;
  NewEnvironmentAndConnection(&environment, &connection, true);
  const TemporaryDataSource temporary;
  QString problem;
  if (!platform::RegisterFileDataSource(datasources::kInstallerSettings, kAccessDriver, dbFolder + kSettingsDatabase,
                                        platform::FileSharing::SharedByPrograms, &problem)) {
    WriteInstallLog(QStringLiteral("<UpdateSettingsDatabase> Failed to add the data source name: ") + problem);
    return 0;
  }
  if (!connection) {
    WriteInstallLog(QStringLiteral("<UpdateSettingsDatabase> No ODBC connection could be made."));
    return 0;
  }
  SetAccessMode(connection.get(), false);
  const SQLRETURN connected = ConnectFileDataSource(connection.get(), datasources::kInstallerSettings, &problem);
  if (!SQL_SUCCEEDED(connected)) {
    if (problem.isEmpty()) {
      problem = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection.get()), OdbcTextForm::ConnectFailure);
    }
    WriteInstallLog(QStringLiteral("<UpdateSettingsDatabase> ") + problem);
    return 0;
  }
  for (const QString& sql : FixUpStatements(dbFolder, deviceId)) RunStatement(connection.get(), sql);
  SQLDisconnect(connection.get());
  return 1;
}

void CInstallFileManager::DeleteInstalledFiles(const QString& installFolder, uint16_t deviceType) const {
  InstallationRemoval removal;
  removal.desktopFiles = DesktopPrograms();
  RemoveInstallationFiles(WithSlash(installFolder), deviceType, removal, WriteInstallLog);
}

void CInstallFileManager::DeleteFolderFiles(const QString& folder) const { ::DeleteFolderFiles(folder, WriteInstallLog); }

bool CInstallFileManager::FileExists(const QString& path) const {
  QString entry = path;
  while (entry.size() > 1 && entry.endsWith(u'/')) entry.chop(1);
  return QFileInfo::exists(entry);
}

CInstallFileManager* GetInstallFileManager() {
  static CInstallFileManager manager;
  return &manager;
}
