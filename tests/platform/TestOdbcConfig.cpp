#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcIni.h"
#include "platform/odbc/OdbcText.h"
#include "platform/os/MachineRoot.h"

#include <gtest/gtest.h>

#include <sqlext.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QUrl>

#include <clocale>
#include <functional>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

QString DataFile(const char* name) { return MachineRoot() + u'/' + QString::fromLatin1(name); }

// Runs `body` in a child process that file permissions bind even when the tests run as root (its
// capabilities to pass over them are dropped), and gives the child's exit code.
int RunBoundByPermissions(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) _exit(90);
    data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    if (syscall(SYS_capset, &header, data) != 0) _exit(91);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(OdbcIni, KeepsWhatItDoesNotChange) {
  const QByteArray text =
      "; user sources\n[ODBC Data Sources]\nSales = PostgreSQL Unicode\n\n[Sales]\nDriver = PostgreSQL Unicode\n"
      "Servername=db.example\n# port below\nPort=5432\n";
  OdbcIni ini = OdbcIni::Parse(text);
  EXPECT_EQ(ini.SectionNames(), QStringList({QStringLiteral("ODBC Data Sources"), QStringLiteral("Sales")}));
  EXPECT_EQ(ini.Value(QStringLiteral("sales"), QStringLiteral("SERVERNAME")), QStringLiteral("db.example"));
  ini.SetValue(QStringLiteral("SALES"), QStringLiteral("port"), QStringLiteral("5433"));
  ini.SetValue(QStringLiteral("Other"), QStringLiteral("Driver"), QStringLiteral("SQLite3"));
  const OdbcIni again = OdbcIni::Parse(ini.Serialize());
  EXPECT_EQ(again.Value(QStringLiteral("Sales"), QStringLiteral("Port")), QStringLiteral("5433"));
  EXPECT_EQ(again.Value(QStringLiteral("Other"), QStringLiteral("Driver")), QStringLiteral("SQLite3"));
  EXPECT_TRUE(ini.Serialize().startsWith("; user sources\n[ODBC Data Sources]\nSales = PostgreSQL Unicode\n"));
  EXPECT_TRUE(ini.Serialize().contains("# port below\nPort=5433\n"));
  EXPECT_TRUE(ini.RemoveSection(QStringLiteral("sales")));
  EXPECT_FALSE(OdbcIni::Parse(ini.Serialize()).HasSection(QStringLiteral("Sales")));
}

// A byte-order mark before a header, wherever it stands, leaves it a header: an edit may bring
// the line to the start of the file, where the mark is dropped.
TEST(OdbcIni, AHeaderWithAByteOrderMarkBeforeItIsAHeaderAnywhere) {
  OdbcIni ini = OdbcIni::Parse("[First]\nA=1\n\xEF\xBB\xBF[Second]\nB=2\n");
  EXPECT_EQ(ini.Value(QStringLiteral("Second"), QStringLiteral("B")), QStringLiteral("2"));
  ASSERT_TRUE(ini.RemoveSection(QStringLiteral("First")));
  EXPECT_EQ(ini.Serialize(), QByteArray("\xEF\xBB\xBF[Second]\nB=2\n"));
  EXPECT_EQ(OdbcIni::Parse(ini.Serialize()).SectionNames(), QStringList{QStringLiteral("Second")});
}

// Another program's entries, in whatever bytes it wrote them, survive every write of ours.
TEST(OdbcIni, AWriteChangesOnlyTheLinesOfWhatItWrites) {
  const QByteArray foreign =
      "[ODBC Data Sources]\r\n"
      "Kunden = SQLite3\r\n"
      "\r\n"
      "[Kunden]\r\n"
      "  Driver = SQLite3   \r\n"
      "Database=/data/M\xfcller/kunden.db\r\n"
      "\xEF\xBB\xBFStart=1\r\n"
      "; kept comment\r\n";
  const QByteArray ours = "[Ours]\r\nDriver=SQLite3\r\n";
  WriteFile(OdbcIniPath(), foreign + ours);
  ASSERT_TRUE(WriteDataSource(QStringLiteral("Ours"), {{QStringLiteral("Driver"), QStringLiteral("PostgreSQL")}}));
  ASSERT_TRUE(SetDataSourceValue(QStringLiteral("Ours"), QStringLiteral("Port"), QStringLiteral("5432")));
  ASSERT_TRUE(WriteDataSource(QStringLiteral("New"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  EXPECT_EQ(ReadFile(OdbcIniPath()),
            foreign + "[Ours]\r\nDriver=PostgreSQL\r\nPort=5432\r\n[New]\r\nDriver=SQLite3\r\n");
  EXPECT_EQ(DataSourceValue(QStringLiteral("Kunden"), QString(QChar(0xFEFF)) + QStringLiteral("Start")), QStringLiteral("1"));

  ASSERT_TRUE(RemoveDataSource(QStringLiteral("Ours")));
  ASSERT_TRUE(RemoveDataSource(QStringLiteral("New")));
  EXPECT_EQ(ReadFile(OdbcIniPath()), foreign);
}

TEST(OdbcConfig, RefusesWhatTheFileCannotHoldAndKeepsTheFile) {
  ASSERT_TRUE(WriteDataSource(QStringLiteral("Kept"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  const QByteArray before = ReadFile(OdbcIniPath());
  QString error;
  EXPECT_FALSE(WriteDataSource(QStringLiteral("Bad"), {{QStringLiteral("Database"), QStringLiteral("a\nDriver=x")}},
                               &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(WriteDataSource(QStringLiteral("Bad]"), {{QStringLiteral("Driver"), QStringLiteral("x")}}, &error));
  EXPECT_FALSE(SetDataSourceValue(QStringLiteral("Kept"), QStringLiteral("A=B"), QStringLiteral("x"), &error));
  EXPECT_EQ(ReadFile(OdbcIniPath()), before);
}

// Writing a file that could not be read first would drop every name it holds.
TEST(OdbcConfig, AFileThatCannotBeReadIsNeverReplaced) {
  ASSERT_TRUE(WriteDataSource(QStringLiteral("Kept"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  const QByteArray before = ReadFile(OdbcIniPath());
  ASSERT_TRUE(QFile::setPermissions(OdbcIniPath(), QFileDevice::WriteOwner));
  const int child = RunBoundByPermissions([] {
    QString setError;
    QString writeError;
    const bool set = SetDataSourceValue(QStringLiteral("New"), QStringLiteral("Driver"), QStringLiteral("SQLite3"),
                                        &setError);
    const bool written = WriteDataSource(QStringLiteral("New"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}},
                                         &writeError);
    return !set && !written && !setError.isEmpty() && !writeError.isEmpty() ? 0 : 1;
  });
  EXPECT_EQ(child, 0) << "a write of the unreadable file was not refused";
  ASSERT_TRUE(QFile::setPermissions(OdbcIniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  EXPECT_EQ(ReadFile(OdbcIniPath()), before);
}

TEST(OdbcConfig, PreparePointsUnixOdbcAtTheMachineRootAndRegistersTheDrivers) {
  PrepareOdbc();
  EXPECT_EQ(qEnvironmentVariable("ODBCSYSINI"), OdbcFolder());
  EXPECT_EQ(qEnvironmentVariable("ODBCINI"), OdbcFolder() + QStringLiteral("/odbc.ini"));
  const OdbcIni system = OdbcIni::Parse(ReadFile(QStringLiteral("/etc/odbcinst.ini")));
  for (const QString& driver : system.SectionNames()) {
    if (driver.compare(u"ODBC", Qt::CaseInsensitive) == 0) continue;
    EXPECT_TRUE(DriverNames().contains(driver)) << qPrintable(driver);
    EXPECT_EQ(DriverValue(driver, QStringLiteral("Driver")), system.Value(driver, QStringLiteral("Driver")));
  }
}

TEST(OdbcConfig, SqliteFileGetsNoCreateAndNoCredentials) {
  PrepareOdbc();
  WriteFile(DataFile("data.mdb"), QByteArray("SQLite format 3\0", 16) + QByteArray(84, '\0'));
  ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("Temp"), QStringLiteral("Microsoft Access Driver (*.mdb)"),
                                     DataFile("data.mdb"), FileSharing::Single));
  const OdbcIni ini = OdbcIni::Parse(ReadFile(OdbcIniPath()));
  const OdbcIni::Section* section = ini.FindSection(QStringLiteral("Temp"));
  ASSERT_NE(section, nullptr);
  QStringList keys;
  for (const OdbcIni::Entry& entry : section->entries) keys.append(entry.key);
  EXPECT_EQ(keys, QStringList({QStringLiteral("Driver"), QStringLiteral("Database"), QStringLiteral("NoCreat"),
                               QStringLiteral("Timeout")}));
  EXPECT_EQ(ini.Value(QStringLiteral("Temp"), QStringLiteral("NoCreat")), QStringLiteral("1"));
  EXPECT_EQ(ini.Value(QStringLiteral("Temp"), QStringLiteral("Database")), DataFile("data.mdb"));
  EXPECT_EQ(DriverValue(ini.Value(QStringLiteral("Temp"), QStringLiteral("Driver")), QStringLiteral("Driver"))
                .contains(u"sqlite3odbc"),
            true);
}

TEST(OdbcConfig, SharedSettingsFileGetsTheWalJournal) {
  PrepareOdbc();
  ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("Settings"),
                                     QStringLiteral("Microsoft Access Driver (*.mdb)"), DataFile("missing.mdb"),
                                     FileSharing::SharedByPrograms));
  EXPECT_EQ(DataSourceValue(QStringLiteral("Settings"), QStringLiteral("JournalMode")), QStringLiteral("WAL"));
  EXPECT_EQ(DataSourceValue(QStringLiteral("Settings"), QStringLiteral("NoCreat")), QStringLiteral("1"));
}

TEST(OdbcConfig, DriverFollowsTheFileAndTheWindowsName) {
  PrepareOdbc();
  const QString access = QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");
  WriteFile(DataFile("jet.mdb"), QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(100, '\0'));
  WriteFile(DataFile("ace.accdb"), QByteArray("\0\1\0\0Standard ACE DB\0", 20) + QByteArray(100, '\0'));
  EXPECT_TRUE(DriverValue(LinuxDriverForFile(access, DataFile("jet.mdb")), QStringLiteral("Driver")).contains(u"mdbodbc"));
  EXPECT_TRUE(DriverValue(LinuxDriverForFile(access, DataFile("ace.accdb")), QStringLiteral("Driver")).contains(u"mdbodbc"));
  EXPECT_TRUE(DriverValue(LinuxDriverForFile(access, DataFile("none.mdb")), QStringLiteral("Driver")).contains(u"sqlite3odbc"));
  EXPECT_TRUE(IsServedByMdbTools(access, DataFile("jet.mdb")));
  EXPECT_TRUE(IsServedByMdbTools(access, DataFile("ace.accdb")));
  EXPECT_FALSE(IsServedByMdbTools(access, DataFile("none.mdb")));
  for (const char* standIn :
       {"Microsoft Excel Driver (*.xls)", "Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)",
        "Microsoft Text Driver (*.txt; *.csv)", "Microsoft dBase Driver (*.dbf)"}) {
    EXPECT_TRUE(
        DriverValue(LinuxDriverForFile(QString::fromLatin1(standIn), DataFile("book.xls")), QStringLiteral("Driver"))
            .contains(u"sqlite3odbc"));
    EXPECT_FALSE(IsServedByMdbTools(QString::fromLatin1(standIn), DataFile("jet.mdb")));
  }
  const QString fileMaker = QStringLiteral("DataDirect 32-BIT SequeLink 5.5");
  EXPECT_EQ(LinuxDriverForFile(fileMaker, DataFile("a.fp7")), fileMaker);

  ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("Jet"), access, DataFile("jet.mdb"), FileSharing::Single));
  EXPECT_TRUE(DataSourceValue(QStringLiteral("Jet"), QStringLiteral("NoCreat")).isEmpty());
}

TEST(OdbcConfig, ConnectionStringHoldsWhatTheNameIsRegisteredForNow) {
  PrepareOdbc();
  const QString access = QStringLiteral("Microsoft Access Driver (*.mdb)");
  ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("Temp"), access, DataFile("one.mdb"), FileSharing::Single));
  ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("Temp"), access, DataFile("two.mdb"), FileSharing::Single));
  const QString driver = DataSourceValue(QStringLiteral("Temp"), QStringLiteral("Driver"));
  EXPECT_EQ(DataSourceConnectionString(QStringLiteral("Temp")),
            QStringLiteral("DRIVER={%1};Database=%2;DBQ=%2;NoCreat=1;Timeout=5000;").arg(driver, DataFile("two.mdb")));

  QString error;
  EXPECT_TRUE(DataSourceConnectionString(QStringLiteral("Other"), &error).isEmpty());
  EXPECT_TRUE(error.contains(u"Other")) << qPrintable(error);
  ASSERT_TRUE(WriteDataSource(QStringLiteral("Odd"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
                                                      {QStringLiteral("Database"), QStringLiteral("/a;Database=/b")}}));
  EXPECT_TRUE(DataSourceConnectionString(QStringLiteral("Odd"), &error).isEmpty());
  EXPECT_TRUE(error.contains(u"Database")) << qPrintable(error);
}

// The value the load that `name` points at holds for the text file's one cell.
QString LoadedValue(const QString& name) {
  const QString load = QUrl(DataSourceValue(name, QStringLiteral("Database"))).toLocalFile();
  sqlite3* database = nullptr;
  sqlite3_stmt* statement = nullptr;
  QString value;
  if (sqlite3_open_v2(QFile::encodeName(load).constData(), &database, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(database, "SELECT x FROM \"a.csv\"", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  }
  sqlite3_finalize(statement);
  sqlite3_close(database);
  return value;
}

// A name registered again reads the file as it is now, even after a write of the same size
// within the file system's time step; the load the name no longer points at is gone.
TEST(OdbcConfig, StandInLoadIsNeverStale) {
  PrepareOdbc();
  const QString text = QStringLiteral("Microsoft Text Driver (*.txt; *.csv)");
  const QString folder = RunFolder() + QStringLiteral("/odbc-standins");
  for (const char* content : {"x\n1\n", "x\n2\n", "x\n3\n"}) {
    WriteFile(DataFile("a.csv"), content);
    ASSERT_TRUE(RegisterFileDataSource(QStringLiteral("T"), text, DataFile("a.csv"), FileSharing::Single));
    const QString database = DataSourceValue(QStringLiteral("T"), QStringLiteral("Database"));
    EXPECT_TRUE(database.startsWith(u"file:///") && database.endsWith(u"?mode=ro")) << qPrintable(database);
    EXPECT_EQ(LoadedValue(QStringLiteral("T")), QString::fromLatin1(content).mid(2, 1));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
  }
  EXPECT_TRUE(RemoveDataSource(QStringLiteral("T")));
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

// Two programs registering names at once: every entry of both survives.
TEST(OdbcConfig, WritersInSeveralProcessesLoseNothing) {
  constexpr int kProcesses = 4;
  constexpr int kNames = 25;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      bool ok = true;
      for (int n = 0; n < kNames; ++n) {
        ok = WriteDataSource(QStringLiteral("P%1N%2").arg(p).arg(n),
                             {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
                              {QStringLiteral("Database"), QStringLiteral("/data/%1/%2.mdb").arg(p).arg(n)}}) &&
             ok;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  for (const pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const OdbcIni ini = OdbcIni::Parse(ReadFile(OdbcIniPath()));
  EXPECT_EQ(ini.SectionNames().size(), kProcesses * kNames);
  for (int p = 0; p < kProcesses; ++p) {
    for (int n = 0; n < kNames; ++n) {
      EXPECT_EQ(ini.Value(QStringLiteral("P%1N%2").arg(p).arg(n), QStringLiteral("Database")),
                QStringLiteral("/data/%1/%2.mdb").arg(p).arg(n));
    }
  }
}

// unixODBC takes data source names of at most 32 units.
TEST(OdbcConfig, LongNamesAreShortenedTheSameWayEverywhere) {
  const QString settings = QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD");
  const QString fileMaker = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD_FP");
  EXPECT_EQ(DriverManagerName(QStringLiteral("UserProfileDSN_FOR_TarnwickPLite")),
            QStringLiteral("UserProfileDSN_FOR_TarnwickPLite"));
  EXPECT_EQ(DriverManagerName(settings).size(), 32);
  EXPECT_TRUE(DriverManagerName(settings).startsWith(settings.left(23) + u'~'));
  EXPECT_EQ(DriverManagerName(settings), DriverManagerName(settings));
  EXPECT_NE(DriverManagerName(fileMaker), DriverManagerName(fileMaker + u'X'));
  ASSERT_TRUE(WriteDataSource(settings, {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  ASSERT_TRUE(SetDataSourceValue(QStringLiteral("ODBC Data Sources"), settings, QStringLiteral("SQLite3")));
  const OdbcIni ini = OdbcIni::Parse(ReadFile(OdbcIniPath()));
  EXPECT_TRUE(ini.HasSection(DriverManagerName(settings)));
  EXPECT_EQ(ini.Value(QStringLiteral("ODBC Data Sources"), DriverManagerName(settings)), QStringLiteral("SQLite3"));
  EXPECT_EQ(DataSourceValue(settings, QStringLiteral("Driver")), QStringLiteral("SQLite3"));
  EXPECT_TRUE(RemoveDataSourceValue(QStringLiteral("ODBC Data Sources"), settings));
  EXPECT_TRUE(RemoveDataSource(settings));
}

// Whatever the environment's locale, text beyond ASCII reaches an SQLite file through the driver
// manager and comes back as it was.
TEST(OdbcConfig, TextBeyondAsciiTravelsThroughTheSqliteDriverIntact) {
  std::setlocale(LC_CTYPE, "C");
  const OdbcHandle environment = OdbcHandle::NewEnvironment();
  const OdbcHandle connection = OdbcHandle::Allocate(SQL_HANDLE_DBC, environment.get());
  const QString text = QStringLiteral("Driver=SQLite3;Database=") + MachineRoot() + QStringLiteral("/text.db");
  ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnectW(connection.get(), nullptr, SqlText(text), static_cast<SQLSMALLINT>(text.size()),
                                              nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)));
  const OdbcHandle statement = OdbcHandle::Allocate(SQL_HANDLE_STMT, connection.get());
  const QString value = QStringLiteral("Gr\u00FCn \u20AC \u4E2D");
  for (const QString& sql : {QStringLiteral("CREATE TABLE t (a TEXT)"), QStringLiteral("INSERT INTO t VALUES ('%1')").arg(value)}) {
    ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirectW(statement.get(), SqlText(sql), static_cast<SQLINTEGER>(sql.size()))));
  }
  const QString select = QStringLiteral("SELECT a FROM t");
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirectW(statement.get(), SqlText(select), static_cast<SQLINTEGER>(select.size()))));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLFetch(statement.get())));
  SQLWCHAR read[64] = {};
  SQLLEN length = 0;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLGetData(statement.get(), 1, SQL_C_WCHAR, read, sizeof read, &length)));
  EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(read), length / 2), value);
  SQLDisconnect(connection.get());
}

TEST(OdbcConfig, RemovingANameLeavesTheOthers) {
  ASSERT_TRUE(WriteDataSource(QStringLiteral("A"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  ASSERT_TRUE(WriteDataSource(QStringLiteral("B"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
  EXPECT_TRUE(RemoveDataSource(QStringLiteral("a")));
  EXPECT_FALSE(RemoveDataSource(QStringLiteral("A")));
  EXPECT_EQ(DataSourceValue(QStringLiteral("B"), QStringLiteral("Driver")), QStringLiteral("SQLite3"));
  EXPECT_EQ(QDir(OdbcFolder()).entryList(QDir::Files), QStringList({QStringLiteral("odbc.ini")}));
  // The file may name the files of other users' databases: it is the owner's alone.
  EXPECT_EQ(QFile::permissions(OdbcIniPath()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadUser | QFileDevice::WriteUser);
}

}  // namespace
