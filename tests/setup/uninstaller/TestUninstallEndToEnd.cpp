// The installed uninstaller run as a child over a real installation made by the install sequence
// against the doubles; its boxes are answered through a transcript.
#include "platform/os/MachineRoot.h"
#include "platform/os/Process.h"
#include "platform/os/ServiceManager.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/SetupShortcuts.h"
#include "setup/installer/FinishPage.h"
#include "setup/uninstaller/SyncStopWait.h"
#include "setup/uninstaller/UninstallerSettings.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/installer/InstallerFixture.h"
#include "tests/setup/uninstaller/MachineRecord.h"
#include "tests/setup/uninstaller/StandIn.h"
#include "tests/setup/uninstaller/UninstallerTestLog.h"
#include "tests/support/Eventually.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <functional>

using namespace installlayout;
using namespace std::chrono_literals;

namespace {

// Far above what a run takes on a loaded machine; the fixed waits alone take seconds.
constexpr int kRunBoundMs = 180'000;
const QString kUdid = QStringLiteral("0123456789abcdef0123456789abcdef01234567");
const QString kSyncProgram = QStringLiteral("TarnwickPlusSyncServiceLite");
const QString kQuestion = QStringLiteral(
    "This action will uninstall Tarnwick Plus Lite from your Desktop machine.\r\n\r\nYou will lose all your Tarnwick "
    "Plus Lite related information.\r\n\r\nDo you want to continue?");
const QString kProblem = QStringLiteral("Problem while uninstalling Tarnwick Plus Lite.");
const QString kConnectionProblem =
    QStringLiteral("Problem in uninstalling Tarnwick Plus Lite, Please check internet connection.");

QList<qint64> Running(const QString& name) {
  QList<qint64> pids;
  platform::FindProcessesByName(name, &pids);
  return pids;
}

uint32_t SyncServiceStatus() {
  uint32_t status = 99;
  const auto value = testsupport::StoredValue(registrynames::kSettingsKey, QStringLiteral("SyncServiceStatus"));
  if (value) value->ToDword(&status);
  return status;
}

// A box of the transcript: its text, icon and answer.
struct Box {
  QString text;
  unsigned icon = 0;
  int answer = 0;
  bool operator==(const Box&) const = default;
};

void PrintTo(const Box& box, std::ostream* out) {
  *out << "{" << box.text.toStdString() << ", icon " << box.icon << ", answer " << box.answer << "}";
}

struct UninstallRun {
  int exitCode = -1;
  QList<Box> boxes;
  QStringList lines;  // the uninstall log's lines written by this run
};

class UninstallEndToEndTest : public installertest::InstallerPageTest {
 protected:
  void SetUp() override {
    InstallerPageTest::SetUp();
    freshEntries_ = uninstallertest::MachineEntries();
    freshValues_ = AllRegistryValues();
    freshKeys_ = AllRegistryKeys();
  }

  void TearDown() override {
    for (const QString& name : {kSyncProgram, QStringLiteral("TarnwickPWinServiceLite"),
                                QStringLiteral("TarnwickPStartSyncServiceLite"), QStringLiteral("TarnwickPlusLite")}) {
      for (const qint64 pid : Running(name)) platform::TerminateProcess(pid);
    }
  }

  static QStringList AllRegistryKeys() {
    return uninstallertest::RegistryKeys(platform::HKEY_LOCAL_MACHINE) +
           uninstallertest::RegistryKeys(platform::HKEY_CURRENT_USER);
  }

  // The keys an install and uninstall may add: the settings key stays, and so do its parents and
  // the parents of the Add/Remove Programs entry, where every installed program has its own.
  QStringList UnexpectedKeys() const {
    QStringList kept;
    for (QString key :
         {registrynames::RecordKeyName(), QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall")}) {
      for (; !key.isEmpty(); key = key.left(std::max<qsizetype>(0, key.lastIndexOf(u'\\')))) kept.append(key);
    }
    QStringList unexpected;
    for (const QString& key : AllRegistryKeys()) {
      if (!freshKeys_.contains(key) && !kept.contains(key)) unexpected.append(key);
    }
    return unexpected;
  }

  static QStringList AllRegistryValues() {
    return uninstallertest::RegistryValues(platform::HKEY_LOCAL_MACHINE) +
           uninstallertest::RegistryValues(platform::HKEY_CURRENT_USER);
  }

  // Installs the built payload for an iPhone in the default folder; the sync program then runs.
  void Install() {
    app_.SetPayloadFolder(testsupport::BinaryDir() + QStringLiteral("/payload"));
    ChooseIPhoneInDefaultFolder(kUdid);
    installFolder_ = app_.State().installFolder + u'/';
    CFinishPage page(app_);
    page.OnSetActive();
    QElapsedTimer clock;
    clock.start();
    while ((page.Installing() || !page.isComplete()) && !page.Failed() && clock.elapsed() < kRunBoundMs) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
    ASSERT_FALSE(page.Failed()) << page.StatusText().toStdString();
    ASSERT_TRUE(testsupport::Eventually([] { return !Running(kSyncProgram).isEmpty(); }, 30s));
  }

  QString LogPath() const { return installFolder_ + kLogsFolder + QStringLiteral("ipTarnwickUnInstall.log"); }

  // The log's stamped lines without their stamps.
  QStringList LogLines() const {
    static const QRegularExpression stamp(QStringLiteral("^<\\d\\d/\\d\\d/\\d{4} : \\d\\d:\\d\\d:\\d\\d> "));
    QFile file(LogPath());
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"))) {
      const QRegularExpressionMatch match = stamp.match(line);
      if (match.hasMatch()) lines.append(line.mid(match.capturedLength()));
    }
    return lines;
  }

  UninstallRun RunUninstaller(const QList<int>& answers = {}, const QProcessEnvironment& extra = {}) {
    const QString transcript = outside_.filePath(QStringLiteral("boxes-%1.jsonl").arg(++runs_));
    const QString answersFile = outside_.filePath(QStringLiteral("answers-%1").arg(runs_));
    QFile answerList(answersFile);
    if (answerList.open(QIODevice::WriteOnly)) {
      for (const int answer : answers) answerList.write(QByteArray::number(answer) + '\n');
    }
    answerList.close();
    const qsizetype linesBefore = LogLines().size();

    QProcess uninstaller;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(platform::kMessageBoxTranscriptVariable), transcript);
    environment.insert(QString::fromLatin1(platform::kMessageBoxAnswersVariable), answersFile);
    environment.insert(QStringLiteral("TARNWICK_ADMIN_SERVICE"), QStringLiteral("127.0.0.1:%1").arg(admin_.Port()));
    // fontconfig's cache outlives every program that draws text; the tests' own mains suppress it too.
    environment.insert(QStringLiteral("LSAN_OPTIONS"),
                       QStringLiteral("print_suppressions=0:suppressions=") + LeakSuppressions());
    environment.insert(extra);
    uninstaller.setProcessEnvironment(environment);
    uninstaller.setWorkingDirectory(testsupport::CurrentMachineRoot());
    uninstaller.setProcessChannelMode(QProcess::ForwardedChannels);
    uninstaller.start(installFolder_ + kDesktopFiles + QStringLiteral("TarnwickPlusLiteUnInstaller"), {});
    UninstallRun run;
    if (!uninstaller.waitForFinished(kRunBoundMs) || uninstaller.exitStatus() != QProcess::NormalExit) {
      ADD_FAILURE() << "the uninstaller did not end by itself";
      uninstaller.kill();
      uninstaller.waitForFinished();
      return run;
    }
    run.exitCode = uninstaller.exitCode();
    QFile boxes(transcript);
    if (boxes.open(QIODevice::ReadOnly)) {
      for (const QByteArray& line : boxes.readAll().split('\n')) {
        if (line.trimmed().isEmpty()) continue;
        const QJsonObject box = QJsonDocument::fromJson(line).object();
        EXPECT_EQ(box[QStringLiteral("caption")].toString(), QStringLiteral("Tarnwick Plus Lite"));
        run.boxes.append({box[QStringLiteral("text")].toString(),
                          static_cast<unsigned>(box[QStringLiteral("icon")].toInt()),
                          box[QStringLiteral("answer")].toInt()});
      }
    }
    run.lines = LogLines().mid(linesBefore);
    return run;
  }

  QString LeakSuppressions() {
    const QString path = outside_.filePath(QStringLiteral("lsan.supp"));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) file.write("leak:libfontconfig\n");
    return path;
  }

  QStringList AdminOperations() {
    QStringList operations;
    for (const QJsonValue& request : admin_.Requests())
      operations.append(request[QStringLiteral("operation")].toString());
    return operations;
  }

  int DeleteDesktopRequests() {
    int count = 0;
    for (const QJsonValue& request : web_.Requests()) {
      if (QJsonDocument(request.toObject()).toJson().contains("DeleteDesktop.asp")) ++count;
    }
    return count;
  }

  // What an unsuccessful or cancelled run must leave as it was: every entry outside the logs and
  // the run folder, and every registry value.
  QStringList InstallationRecord() const {
    const QString logs = QDir(testsupport::CurrentMachineRoot()).relativeFilePath(installFolder_ + kLogsFolder);
    const QString run = QDir(testsupport::CurrentMachineRoot()).relativeFilePath(platform::RunFolder());
    QStringList record;
    for (const QString& entry : uninstallertest::MachineEntries()) {
      // The sync program's own logs, its temporary files and its databases' journals come and go;
      // the stand-ins are the test's.
      if (entry.startsWith(logs) || entry.startsWith(QStringLiteral("standins/")) || entry.startsWith(run + u'/') ||
          entry.contains(QStringLiteral("/Temp Files/")) || entry.endsWith(QStringLiteral("-journal")))
        continue;
      record.append(entry);
    }
    return record + AllRegistryValues();
  }

  // The entries an install and uninstall may add to the fresh machine root: the registry's
  // hives, the logs, the folders that hold them and the data sources the programs registered.
  // Nothing only a running program needs (the run folder's files), no empty folder, no empty
  // data-source list.
  QStringList UnexpectedLeftovers() const {
    const QString root = testsupport::CurrentMachineRoot();
    const QDir rootDir(root);
    const QString install = QDir::cleanPath(rootDir.relativeFilePath(installFolder_)) + u'/';
    const QString registry = rootDir.relativeFilePath(root + QStringLiteral("/registry")) + u'/';
    const QString odbc = QStringLiteral("odbc/");
    QStringList unexpected;
    for (const QString& entry : uninstallertest::MachineEntries()) {
      if (freshEntries_.contains(entry)) continue;
      bool allowed = entry.startsWith(install + kLogsFolder) || entry.startsWith(registry) ||
                     entry == rootDir.relativeFilePath(InstallLogPath());
      // Folders stay only for what they hold.
      if (entry.endsWith(u'/') && !HoldsNoFile(root + u'/' + entry)) allowed = true;
      // The drivers' list is the platform's; the data sources must be the programs' own.
      if (entry == odbc + QStringLiteral("odbcinst.ini")) allowed = true;
      if (entry == odbc + QStringLiteral("odbc.ini")) allowed = OnlyOwnDataSources(root + u'/' + entry);
      if (!allowed) unexpected.append(entry);
    }
    for (const QString& entry : freshEntries_) {
      if (!QFileInfo::exists(root + u'/' + entry)) unexpected.append(QStringLiteral("missing: ") + entry);
    }
    return unexpected;
  }

  static bool HoldsNoFile(const QString& folder) {
    return !QDirIterator(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories).hasNext();
  }

  // An ODBC file with data sources, none but the two programs' own.
  static bool OnlyOwnDataSources(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    static const QRegularExpression section(QStringLiteral("^\\[(.*)\\]$"), QRegularExpression::MultilineOption);
    auto sections = section.globalMatch(QString::fromUtf8(file.readAll()));
    bool any = false;
    while (sections.hasNext()) {
      const QString name = sections.next().captured(1);
      if (name == QStringLiteral("ODBC Data Sources")) continue;
      if (!kOwnDataSources.contains(name)) {
        ADD_FAILURE() << "data source left: " << name.toStdString();
        return false;
      }
      any = true;
    }
    return any;
  }

  static const QStringList kOwnDataSources;

  QStringList freshEntries_;
  QStringList freshValues_;
  QStringList freshKeys_;
  QString installFolder_;
  QTemporaryDir outside_;
  int runs_ = 0;
};

const QStringList UninstallEndToEndTest::kOwnDataSources = {QStringLiteral("TarnwickPlusWPDSN"),
                                                            QStringLiteral("TarnwickPlusSyncWPDSN")};

// What `now` holds that `before` lacks ("+") and lacks that `before` holds ("-").
QStringList Changes(const QStringList& before, const QStringList& now) {
  QStringList changes;
  for (const QString& entry : now) {
    if (!before.contains(entry)) changes.append(u'+' + entry);
  }
  for (const QString& entry : before) {
    if (!now.contains(entry)) changes.append(u'-' + entry);
  }
  return changes;
}

// The exchange and the withdrawal both log the administration service's "Success".
const QStringList kSuccessLines = {QStringLiteral("Admin unregistration << Start"),
                                   QStringLiteral("Customer Removed successfully."),
                                   QStringLiteral("Customer Removed successfully."),
                                   QStringLiteral("Online unregistration << Start"),
                                   QStringLiteral("Customer Removed successfully."),
                                   QStringLiteral("Online unregistration << Successful"),
                                   QStringLiteral("Offline unregistration << Start"),
                                   QStringLiteral("Uninstalling service."),
                                   QStringLiteral("Removing files."),
                                   QStringLiteral("Removing Settings."),
                                   QStringLiteral("Offline unregistration << Successful"),
                                   QStringLiteral("UNINSTALLATION SUCCESSFUL")};

// The lines of `lines` that `expected` names, in their order.
QStringList Among(const QStringList& lines, const QStringList& expected) {
  QStringList found;
  for (const QString& line : lines) {
    if (expected.contains(line)) found.append(line);
  }
  return found;
}

void ExpectUninstalled(const UninstallRun& run) {
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.boxes, (QList<Box>{{kQuestion, platform::MB_ICONQUESTION, platform::IDYES},
                                   {QStringLiteral("Tarnwick Plus Lite Uninstalled successfully."),
                                    platform::MB_ICONWARNING, platform::IDOK}}));
  EXPECT_EQ(Among(run.lines, kSuccessLines), kSuccessLines) << run.lines.join(u'\n').toStdString();
}

TEST_F(UninstallEndToEndTest, ProgramModeLeavesTheMachineAsRecorded) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const UninstallRun run = RunUninstaller();
  ExpectUninstalled(run);
  EXPECT_TRUE(Running(kSyncProgram).isEmpty());
  EXPECT_EQ(AdminOperations().mid(1), QStringList{QStringLiteral("UninstallDesktop")});
  EXPECT_EQ(DeleteDesktopRequests(), 1);
  EXPECT_FALSE(admin_.Desktops().contains(kUdid));
  EXPECT_FALSE(web_.Pages().contains(kUdid));
  EXPECT_EQ(UnexpectedLeftovers(), QStringList());
  EXPECT_EQ(Changes(freshValues_, AllRegistryValues()), QStringList());
  EXPECT_EQ(UnexpectedKeys(), QStringList());
}

TEST_F(UninstallEndToEndTest, ServiceModeAlsoRemovesTheService) {
  ASSERT_NO_FATAL_FAILURE(Install());
  // Into service mode as the Preferences module switches: the program stopped, the Startup
  // shortcut gone, the service installed and started.
  ASSERT_EQ(SetSyncServiceStatus(0, [](const QString&) {}), 1);
  ASSERT_TRUE(testsupport::Eventually([] { return Running(kSyncProgram).isEmpty(); }, 60s));
  ASSERT_TRUE(DeleteStartupShortCut([](const QString&) {}));
  const QString wrapper = installFolder_ + kDesktopFiles + QStringLiteral("TarnwickPWinServiceLite");
  for (const QString& switchText : {QStringLiteral("-i"), QStringLiteral("-s")}) {
    QProcess run;
    run.setWorkingDirectory(installFolder_ + kDesktopFiles);
    run.start(wrapper, {switchText});
    ASSERT_TRUE(run.waitForFinished(kRunBoundMs));
    ASSERT_EQ(run.exitCode(), 0) << switchText.toStdString();
  }
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("StartSyncStatus"),
                                      platform::RegistryValue::FromDword(1)));
  ASSERT_TRUE(testsupport::Eventually([] { return !Running(kSyncProgram).isEmpty(); }, 30s));

  ExpectUninstalled(RunUninstaller());
  EXPECT_TRUE(testsupport::Eventually([] { return Running(kSyncProgram).isEmpty(); }, 30s));
  platform::ServiceManager manager;
  ASSERT_EQ(manager.Open(), 0);
  EXPECT_EQ(manager.OpenService(QStringLiteral("TarnwickPSyncServiceLite")), platform::ERROR_SERVICE_DOES_NOT_EXIST);
  EXPECT_FALSE(admin_.Desktops().contains(kUdid));
  EXPECT_FALSE(web_.Pages().contains(kUdid));
  EXPECT_EQ(UnexpectedLeftovers(), QStringList());
  EXPECT_EQ(Changes(freshValues_, AllRegistryValues()), QStringList());
  EXPECT_EQ(UnexpectedKeys(), QStringList());
}

TEST_F(UninstallEndToEndTest, CancelledOrRefusedRunsChangeNothing) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const QStringList record = InstallationRecord();
  const qint64 syncPid = Running(kSyncProgram).value(0);
  const QString startLines[] = {QStringLiteral("****TarnwickPLiteUnInstaller Started. <iPhone><V3>********")};

  // No at the confirmation.
  UninstallRun run = RunUninstaller({platform::IDNO});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.boxes, (QList<Box>{{kQuestion, platform::MB_ICONQUESTION, platform::IDNO}}));
  ASSERT_EQ(run.lines.size(), 2) << run.lines.join(u'\n').toStdString();
  EXPECT_EQ(run.lines[0], startLines[0]);
  EXPECT_TRUE(run.lines[1].startsWith(QStringLiteral("<SystemOSDetails> ")));

  // The administration program runs.
  {
    const auto desktop = uninstallertest::StartStandIn(QStringLiteral("TarnwickPlusLite"));
    run = RunUninstaller();
    EXPECT_EQ(run.boxes, (QList<Box>{{QStringLiteral("Please close Tarnwick Plus Lite Application."),
                                      platform::MB_ICONWARNING, platform::IDOK}}));
    EXPECT_EQ(run.lines.mid(2), QStringList{QStringLiteral("Desktop exe is running.")});
    desktop->kill();
    desktop->waitForFinished();
  }

  // No DeskInfo.
  const auto deskInfo = testsupport::StoredValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"));
  ASSERT_TRUE(deskInfo);
  {
    platform::RegistryKeyGuard key;
    ASSERT_EQ(platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(),
                                     platform::KEY_ALL_ACCESS, key.out()),
              0);
    ASSERT_EQ(platform::RegDeleteValue(key.get(), QStringLiteral("DeskInfo")), 0);
  }
  run = RunUninstaller();
  EXPECT_EQ(run.boxes, (QList<Box>{{QStringLiteral("Problem while uninstallation, Please contact Morvant at "
                                                   "support@morvant.example."),
                                    platform::MB_ICONERROR, platform::IDOK}}));
  EXPECT_EQ(run.lines.mid(2), (QStringList{QStringLiteral("Problem in getting desk settings<2> : 2"),
                                           QStringLiteral("Problem in getting dev settings<2> : 2"),
                                           QStringLiteral("Problem in getting DesktopName")}));
  ASSERT_TRUE(testsupport::StoreValue(registrynames::RecordKeyName(), QStringLiteral("DeskInfo"), *deskInfo));

  EXPECT_EQ(Changes(record, InstallationRecord()), QStringList());
  EXPECT_EQ(Running(kSyncProgram), QList<qint64>{syncPid});
  EXPECT_EQ(AdminOperations(), QStringList{QStringLiteral("InstallDesktop")});
  EXPECT_EQ(DeleteDesktopRequests(), 0);
}

TEST_F(UninstallEndToEndTest, AFailedStopOrWithdrawalRestoresAWorkingInstallation) {
  ASSERT_NO_FATAL_FAILURE(Install());
  const QStringList record = InstallationRecord();
  struct Case {
    const char* name;
    std::function<void()> arrange;
    QStringList operations;  // sent to the administration service by the run
    int deletePages;         // DeleteDesktop.asp requests of the run
    QList<Box> boxes;        // after the question
    QString line;            // a line the run logs
    bool registered = true;  // the desktop in the administration service's register afterwards
  };
  const Box problem{kProblem, platform::MB_ICONERROR, platform::IDOK};
  const Box connection{kConnectionProblem, platform::MB_ICONERROR, platform::IDOK};
  const QString withdraw = QStringLiteral("UninstallDesktop");
  const QString enter = QStringLiteral("InstallDesktop");
  std::unique_ptr<QProcess> standIn;
  const Case cases[] = {
      {"administration service failing twice",
       [this] { admin_.SetFault(QStringLiteral("UninstallDesktop"), QStringLiteral("drop"), 2); },
       {withdraw, withdraw},
       0,
       {connection, problem},
       QStringLiteral("Admin unregistration << Problem")},
      {"administration service refusing",
       [this] {
         admin_.SetFault(QStringLiteral("UninstallDesktop"), QStringLiteral("result"), 2,
                         {{QStringLiteral("text"), QStringLiteral("NotAllowed")}});
       },
       {withdraw, withdraw},
       0,
       {connection, problem},
       QStringLiteral("Admin unregistration << Problem")},
      {"hosted page dropped",
       [this] { web_.SetFault(QStringLiteral("DeleteDesktop.asp"), QStringLiteral("drop")); },
       {withdraw, enter},
       1,
       {connection, problem},
       QStringLiteral("Admin registration << Successful")},
      {"hosted page answering another text",
       [this] {
         web_.SetFault(QStringLiteral("DeleteDesktop.asp"), QStringLiteral("result"),
                       {{QStringLiteral("text"), QStringLiteral("Busy")}});
       },
       {withdraw, enter},
       1,
       {problem},
       QStringLiteral("Problem in removing customer.")},
      {"sync program ignoring the stop",
       [&standIn] { standIn = uninstallertest::StartStandIn(kSyncProgram); },
       {},
       0,
       {problem},
       QStringLiteral("Problem Sync stop<1>")},
      // The service's answers to the re-registration: only an entry, or one it already holds, is one.
      {"re-registration refused",
       [this] {
         web_.SetFault(QStringLiteral("DeleteDesktop.asp"), QStringLiteral("drop"));
         admin_.SetFault(QStringLiteral("InstallDesktop"), QStringLiteral("refuse"), 1,
                         {{QStringLiteral("status"), 3}, {QStringLiteral("message"), QStringLiteral("Refused")}});
       },
       {withdraw, enter},
       1,
       {connection, problem},
       QStringLiteral("Admin registration << Problem"),
       false},
      {"re-registration of a desktop already there",
       [this] {
         web_.SetFault(QStringLiteral("DeleteDesktop.asp"), QStringLiteral("drop"));
         admin_.SetFault(
             QStringLiteral("InstallDesktop"), QStringLiteral("refuse"), 1,
             {{QStringLiteral("status"), 3}, {QStringLiteral("message"), QStringLiteral("Desktop already installed")}});
       },
       {withdraw, enter},
       1,
       {connection, problem},
       QStringLiteral("Admin registration << Successful"),
       false},
  };
  QProcessEnvironment shortWait;
  shortWait.insert(QString::fromLatin1(kSyncStopLimitVariable), QStringLiteral("5000"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QList<qint64> before = Running(kSyncProgram);
    const qsizetype operationsBefore = AdminOperations().size();
    const int pagesBefore = DeleteDesktopRequests();
    c.arrange();
    const UninstallRun run = RunUninstaller({}, shortWait);
    web_.SetFault(QStringLiteral("DeleteDesktop.asp"), QStringLiteral("none"));
    if (standIn) {
      standIn->kill();
      standIn->waitForFinished();
      standIn.reset();
    }
    EXPECT_EQ(run.exitCode, 0);
    const QList<Box> expected = QList<Box>{{kQuestion, platform::MB_ICONQUESTION, platform::IDYES}} + c.boxes;
    EXPECT_EQ(run.boxes, expected);
    EXPECT_TRUE(run.lines.contains(c.line)) << run.lines.join(u'\n').toStdString();
    EXPECT_EQ(run.lines.value(run.lines.size() - 1), QStringLiteral("UNINSTALLATION UNSUCCESSFUL"));
    EXPECT_EQ(AdminOperations().mid(operationsBefore), c.operations);
    EXPECT_EQ(DeleteDesktopRequests() - pagesBefore, c.deletePages);
    EXPECT_EQ(admin_.Desktops().contains(kUdid), c.registered);
    EXPECT_TRUE(web_.Pages().contains(kUdid));
    EXPECT_EQ(Changes(record, InstallationRecord()), QStringList());
    EXPECT_EQ(SyncServiceStatus(), 1u);
    // The installed sync program runs again: a new one, since the stop request ended the old.
    EXPECT_TRUE(testsupport::Eventually(
        [&before] {
          const QList<qint64> now = Running(kSyncProgram);
          return now.size() == 1 && !before.contains(now.front());
        },
        30s));
  }
}

}  // namespace
