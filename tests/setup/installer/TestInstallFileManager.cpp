#include "platform/odbc/OdbcConfig.h"
#include "setup/installer/InstallFileManager.h"
#include "shared/contract/InstallLayout.h"
#include "tests/setup/installer/InstallLogLines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

using namespace installlayout;
using installertest::InstallLogLines;

namespace {

// A payload of small files named as the copy tables name them: each file holds its own name, so
// a destination shows which source it came from. The three settings databases are real SQLite
// files with one profile whose ProfileID marks the source and one status row of each kind.
class InstallFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::MessageBoxRecorder::Global().Clear();
    state_.payloadFolder = Root() + QStringLiteral("/payload");
    state_.installFolder = Root() + QStringLiteral("/Program Files/Tarnwick Plus Lite");
    state_.deviceType = kIPhone;
    state_.createFolder = true;
    state_.deviceId = QStringLiteral("udid0001");
    ASSERT_TRUE(QDir().mkpath(state_.payloadFolder));
    ASSERT_TRUE(QDir().mkpath(Root() + QStringLiteral("/Program Files")));
    WritePayload();
  }

  static QString Root() { return testsupport::CurrentMachineRoot(); }
  QString Installed(const QString& relative) const { return state_.installFolder + u'/' + relative; }

  void WriteSource(const QString& name, bool program = false) const {
    QFile file(state_.payloadFolder + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(name.toUtf8());
    if (program) file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
  }

  void WriteSettingsDatabase(const QString& name, int marker) const {
    const QString sql = QStringLiteral(".read %1/db/UserProfileDB.sql").arg(testsupport::SourceDir());
    const QString rows = QStringLiteral(
                             "INSERT INTO ProfileInfo (ProfileID, Path, tempPath, UserList) VALUES (%1, 'x', 'x', 'x');"
                             "INSERT INTO UserProfileStatus VALUES ('', %1, '');"
                             "INSERT INTO UserFormStatus VALUES (1, '', '');")
                             .arg(marker);
    const QString path = state_.payloadFolder + u'/' + name;
    QFile::remove(path);
    QProcess sqlite;
    sqlite.setStandardOutputFile(QProcess::nullDevice());
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path, sql, rows});
    ASSERT_TRUE(sqlite.waitForFinished());
    ASSERT_EQ(sqlite.exitCode(), 0);
  }

  void WritePayload() const {
    for (const QString& name : DesktopPrograms()) WriteSource(name, true);
    for (const QString& name : {QStringLiteral("ChangeDetDB.mdb"), QStringLiteral("SampleDB.mdb"),
                                QStringLiteral("cdb_1.bin"), QStringLiteral("cdb_2.bin")})
      WriteSource(name);
    WriteSettingsDatabase(QStringLiteral("UserProfileDB.mdb"), 1);
    WriteSettingsDatabase(QStringLiteral("UserProfileDBIPHONE.mdb"), 2);
    WriteSettingsDatabase(QStringLiteral("UserProfileDBIPAD.mdb"), 4);
    for (const uint16_t type : {kBlackBerry, kIPhone, kPocketPc, kIPad}) {
      for (const CopyTable& table : DeviceTables(type)) {
        for (const CopyEntry& entry : table.files) WriteSource(entry.source);
      }
    }
  }

  static QString Query(const QString& database, const QString& sql) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {database, sql});
    sqlite.waitForFinished();
    return QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed();
  }

  static QString Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
  }

  // Every file below the installation folder, relative to it.
  QStringList InstalledFiles() const {
    QStringList files;
    QDirIterator it(state_.installFolder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) files.append(QDir(state_.installFolder).relativeFilePath(it.next()));
    files.sort();
    return files;
  }

  static bool TemporaryDataSourceLeft() {
    QFile ini(platform::OdbcIniPath());
    return ini.open(QIODevice::ReadOnly) && ini.readAll().contains("TempTarnwickPlusWPDSN");
  }

  InstallFileState state_;
  const CInstallFileManager* files_ = GetInstallFileManager();
};

TEST_F(InstallFilesTest, CopiesTheTablesOfEachDeviceType) {
  const struct {
    uint16_t type;
    int settingsMarker;
    QStringList deviceFiles;  // destination = content of the source it came from
    QString guideSuffix;
  } cases[] = {
      {kBlackBerry, 1,
       {QStringLiteral("Device Installation Files/BlackBerry/4.2 or above/TarnwickPlusLib.alx=TarnwickPlusLib.alx"),
        QStringLiteral("Device Installation Files/BlackBerry/Storm/TarnwickPlusSyncApp.cod=STarnwickPlusSyncApp.cod")},
       QStringLiteral("BB")},
      {kIPhone, 2, {}, QStringLiteral("IPHONE")},
      {kPocketPc, 1,
       {QStringLiteral("Device Installation Files/PocketPC/PocketPC_Setup.exe=PocketPC_Setup.exe")},
       QStringLiteral("PPC")},
      {kIPad, 4, {}, QStringLiteral("IPAD")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    QDir(state_.installFolder).removeRecursively();
    state_.deviceType = c.type;
    ASSERT_EQ(files_->CreateDirStructure(state_), 0);
    ASSERT_EQ(files_->CopyFiles(state_), 0);
    for (const QString& program : DesktopPrograms()) {
      const QString path = Installed(QStringLiteral("Desktop Files/") + program);
      EXPECT_EQ(Content(path), program);
      EXPECT_TRUE(QFileInfo(path).isExecutable()) << "the copy keeps the executable bit";
    }
    EXPECT_EQ(Content(Installed(QStringLiteral("Desktop Files/DB/CDB Files/cdb_2.bin"))), QStringLiteral("cdb_2.bin"));
    EXPECT_EQ(Query(Installed(QStringLiteral("Desktop Files/DB/UserProfileDB.mdb")),
                    QStringLiteral("SELECT ProfileID FROM ProfileInfo")),
              QString::number(c.settingsMarker));
    for (const QString& pair : c.deviceFiles)
      EXPECT_EQ(Content(Installed(pair.section(u'=', 0, 0))), pair.section(u'=', 1));
    EXPECT_EQ(Content(Installed(QStringLiteral("Desktop Files/Readme.pdf"))),
              QStringLiteral("Readme%1.pdf").arg(c.guideSuffix));
    EXPECT_EQ(Content(Installed(QStringLiteral("Desktop Files/TarnwickPlusUserGuide.pdf"))),
              QStringLiteral("TarnwickPlusUserGuide%1.pdf").arg(c.guideSuffix));
    EXPECT_FALSE(InstalledFiles().join(u' ').contains(QStringLiteral(".part"))) << "no temporary copy is left";
  }
  EXPECT_TRUE(testsupport::MessageBoxRecorder::Global().shown().isEmpty());
}

TEST_F(InstallFilesTest, AMissingSourceStopsTheCopyWithItsCodeAndBox) {
  const struct {
    uint16_t type;
    QString missing;       // in the payload
    QString destination;  // as the box and log name it
    int copyFiles;
    int step;  // CopyDesktopFiles or CopyDevFiles
    QString caption;
    QString keptBefore;
  } cases[] = {
      {kIPhone, QStringLiteral("TarnwickPlusSyncServiceLite"), QStringLiteral("TarnwickPlusSyncServiceLite"), -1, -1,
       QStringLiteral("Tarnwick Plus Lite"), QStringLiteral("Desktop Files/TarnwickPWinServiceLite")},
      {kIPad, QStringLiteral("UserProfileDBIPAD.mdb"), QStringLiteral("UserProfileDB.mdb"), -1, -2,
       QStringLiteral("Tarnwick Plus Lite"), QStringLiteral("Desktop Files/DB/ChangeDetDB.mdb")},
      {kIPhone, QStringLiteral("cdb_2.bin"), QStringLiteral("cdb_2.bin"), -1, -3, QStringLiteral("Tarnwick Plus"),
       QStringLiteral("Desktop Files/DB/CDB Files/cdb_1.bin")},
      {kIPad, QStringLiteral("ReadmeIPAD.pdf"), QStringLiteral("Readme.pdf"), -2, -1,
       QStringLiteral("Tarnwick Plus Lite"), QStringLiteral("Desktop Files/TarnwickPlusUserGuide.pdf")},
      {kPocketPc, QStringLiteral("PocketPC_Setup.exe"), QStringLiteral("PocketPC_Setup.exe"), -2, -2,
       QStringLiteral("Tarnwick Plus Lite"), QStringLiteral("Desktop Files/DB/SampleDB.mdb")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.missing.toStdString());
    QDir(state_.installFolder).removeRecursively();
    QFile::remove(InstallLogPath());
    testsupport::MessageBoxRecorder::Global().Clear();
    WritePayload();
    ASSERT_TRUE(QFile::remove(state_.payloadFolder + u'/' + c.missing));
    state_.deviceType = c.type;
    ASSERT_EQ(files_->CreateDirStructure(state_), 0);
    EXPECT_EQ(files_->CopyFiles(state_), c.copyFiles);
    const auto& boxes = testsupport::MessageBoxRecorder::Global().shown();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Could not copy file ") + c.destination);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(boxes[0].icon(), platform::MB_ICONERROR);
    const QStringList log = InstallLogLines();
    EXPECT_TRUE(log.contains(QStringLiteral("Failed to copy file: ") + c.destination));
    EXPECT_TRUE(log.contains(c.copyFiles == -1 ? QStringLiteral("CopyDesktopFiles problem.")
                                               : QStringLiteral("CopyDevFiles problem.")));
    EXPECT_TRUE(QFileInfo::exists(Installed(c.keptBefore))) << "files copied before stay";

    QDir(state_.installFolder).removeRecursively();
    ASSERT_EQ(files_->CreateDirStructure(state_), 0);
    EXPECT_EQ(c.copyFiles == -1 ? files_->CopyDesktopFiles(state_) : files_->CopyDevFiles(state_), c.step);
  }
}

TEST_F(InstallFilesTest, FolderCodes) {
  // A missing installation folder with the create flag off fails at "Desktop Files".
  state_.createFolder = false;
  EXPECT_EQ(files_->CreateDirStructure(state_), -1);
  EXPECT_TRUE(InstallLogLines().contains(QStringLiteral("Problem in creating desk dir structure.")));

  // An existing folder with some subfolders is accepted; the flag is then not needed.
  ASSERT_TRUE(QDir().mkpath(Installed(QStringLiteral("Desktop Files/DB"))));
  state_.deviceType = kBlackBerry;
  EXPECT_EQ(files_->CreateDirStructure(state_), 0);
  for (const QString& folder : DesktopFolders() + DeviceFolders(kBlackBerry) + QList<QString>{kDeviceFiles})
    EXPECT_TRUE(QFileInfo(Installed(folder)).isDir()) << folder.toStdString();
  EXPECT_TRUE(InstallLogLines().contains(QStringLiteral("Creating dir structure for BB.")));

  // A file where a folder belongs: the code names the first folder that could not be made.
  const struct {
    QString blocker;
    int desk;
    uint16_t type;
    int device;
  } cases[] = {
      {QStringLiteral("Desktop Files"), -1, kIPhone, 0},
      {QStringLiteral("Desktop Files/DB"), -3, kIPhone, 0},
      {QStringLiteral("Desktop Files/DB/CDB Files"), -5, kIPhone, 0},
      {QStringLiteral("Device Installation Files"), 0, kIPhone, -1},
      {QStringLiteral("Device Installation Files/PocketPC"), 0, kPocketPc, -2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blocker.toStdString());
    QDir(state_.installFolder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(Installed(c.blocker)).path()));
    QFile blocker(Installed(c.blocker));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(files_->CreateDeskDirStructure(state_.installFolder), c.desk);
    EXPECT_EQ(files_->CreateDeviceDirStructure(state_.installFolder, c.type), c.device);
  }
  EXPECT_TRUE(InstallLogLines().contains(QStringLiteral("Creating dir structure.")));
}

TEST_F(InstallFilesTest, RollbackLeavesDesktopFilesLogsGuidesAndTheFolder) {
  for (const uint16_t type : {kBlackBerry, kPocketPc, kIPad}) {
    SCOPED_TRACE(type);
    QDir(state_.installFolder).removeRecursively();
    state_.deviceType = type;
    ASSERT_EQ(files_->CreateDirStructure(state_), 0);
    ASSERT_EQ(files_->CopyFiles(state_), 0);
    files_->DeleteInstalledFiles(state_.installFolder, type);
    EXPECT_EQ(InstalledFiles(), (QStringList{QStringLiteral("Desktop Files"), QStringLiteral("Desktop Files/Logs"),
                                             QStringLiteral("Desktop Files/Readme.pdf"),
                                             QStringLiteral("Desktop Files/TarnwickPlusUserGuide.pdf")}));
  }
  // A folder that still holds a file stays and is logged; the walk goes on.
  ASSERT_EQ(files_->CreateDirStructure(state_), 0);
  ASSERT_EQ(files_->CopyFiles(state_), 0);
  QFile stray(Installed(QStringLiteral("Desktop Files/DB/Temp Files/stray.tmp")));
  ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
  stray.close();
  files_->DeleteInstalledFiles(state_.installFolder, kIPad);
  const QStringList log = InstallLogLines();
  EXPECT_TRUE(log.contains(QStringLiteral("Problem in deleting directory : ") + Installed(kTempFilesFolder)));
  EXPECT_TRUE(log.contains(QStringLiteral("Problem in deleting directory : ") + Installed(kDbFolder)));
  EXPECT_FALSE(QFileInfo::exists(Installed(QStringLiteral("Desktop Files/TarnwickPlusLite"))));
}

TEST_F(InstallFilesTest, FixUpPointsTheSettingsAtTheInstallationWithQuotesDoubled) {
  state_.installFolder = Root() + QStringLiteral("/home/o'brien/Tarnwick Plus Lite/");
  state_.deviceId = QStringLiteral("dev'1");
  ASSERT_TRUE(QDir().mkpath(Root() + QStringLiteral("/home/o'brien")));
  ASSERT_EQ(files_->CreateDirStructure(state_), 0);
  ASSERT_EQ(files_->CopyFiles(state_), 0);
  const QString database = Installed(QStringLiteral("Desktop Files/DB/UserProfileDB.mdb"));
  const QString dbFolder = Root() + QStringLiteral("/home/o'brien/Tarnwick Plus Lite/Desktop Files/DB/");
  EXPECT_EQ(Query(database, QStringLiteral("SELECT Path || '|' || tempPath || '|' || UserList FROM ProfileInfo")),
            dbFolder + u'|' + dbFolder + QStringLiteral("|dev'1,"));
  EXPECT_EQ(Query(database, QStringLiteral("SELECT UserID FROM UserProfileStatus")), QStringLiteral("dev'1"));
  EXPECT_EQ(Query(database, QStringLiteral("SELECT UserID FROM UserFormStatus")), QStringLiteral("dev'1"));
  EXPECT_EQ(files_->UpdateSettingsDatabase(state_.installFolder, state_.deviceId), 1);
  EXPECT_FALSE(TemporaryDataSourceLeft());
}

// Neither a database that cannot be opened nor statements that fail stop the installation; both
// are logged, and the temporary data source name goes either way.
TEST_F(InstallFilesTest, FixUpFailuresAreLoggedAndLeaveNoDataSourceName) {
  ASSERT_EQ(files_->CreateDirStructure(state_), 0);
  const auto loggedStart = [](const QString& start) {
    for (const QString& line : InstallLogLines()) {
      if (line.startsWith(start)) return true;
    }
    return false;
  };
  EXPECT_EQ(files_->UpdateSettingsDatabase(state_.installFolder, state_.deviceId), 0) << "a missing database";
  EXPECT_TRUE(loggedStart(QStringLiteral("<UpdateSettingsDatabase> ")));
  EXPECT_FALSE(TemporaryDataSourceLeft());

  QFile::remove(InstallLogPath());
  QFile notADatabase(Installed(QStringLiteral("Desktop Files/DB/UserProfileDB.mdb")));
  ASSERT_TRUE(notADatabase.open(QIODevice::WriteOnly));
  notADatabase.write(QByteArray(4096, 'x'));
  notADatabase.close();
  files_->UpdateSettingsDatabase(state_.installFolder, state_.deviceId);
  EXPECT_TRUE(loggedStart(QStringLiteral("<UpdateSettingsDatabase> ")));
  EXPECT_FALSE(TemporaryDataSourceLeft());
}

TEST_F(InstallFilesTest, FileExistsFindsFilesAndFolders) {
  ASSERT_EQ(files_->CreateDirStructure(state_), 0);
  EXPECT_TRUE(files_->FileExists(Installed(QStringLiteral("Desktop Files"))));
  EXPECT_TRUE(files_->FileExists(Installed(QStringLiteral("Desktop Files/"))));
  EXPECT_TRUE(files_->FileExists(state_.payloadFolder + QStringLiteral("/SampleDB.mdb")));
  EXPECT_FALSE(files_->FileExists(state_.payloadFolder + QStringLiteral("/Nothing.mdb")));
}

}  // namespace
