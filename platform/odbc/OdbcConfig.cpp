#include "platform/odbc/OdbcConfig.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/FileLock.h"
#include "platform/odbc/OdbcIni.h"
#include "platform/os/MachineRoot.h"
#include "platform/standin/OdbcStandIn.h"

#include <QFile>
#include <QFileInfo>

#include <clocale>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include <langinfo.h>

namespace platform {
namespace {

// The SQLite driver has no wide entry points: the driver manager hands it our texts converted
// through the process's character set, which must be UTF-8 for text beyond ASCII to reach the
// file intact (in the "C" locale "Grün" arrived as one Latin-1 byte). Only the character type
// changes; numbers keep their "C" format.
void UseUtf8CharacterSet() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (QByteArrayView(nl_langinfo(CODESET)) != "UTF-8") std::setlocale(LC_CTYPE, "C.UTF-8");
  });
}

// Where the system's package manager registers the installed drivers.
const char kSystemOdbcInstIni[] = "/etc/odbcinst.ini";

const QString kAccessDriver = QStringLiteral("Microsoft Access Driver (*.mdb)");
const QString kAccessDriverAccdb = QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");

// The busy timeout of the SQLite driver in milliseconds: a reader waits for a writer of another
// program or thread instead of failing at once.
const QString kSqliteBusyTimeout = QStringLiteral("5000");

// The longest data source name unixODBC takes (SQL_MAX_DSN_LENGTH).
constexpr qsizetype kMaxDataSourceName = 32;

// A value name of the list of data sources is a data source name too.
QString DriverManagerKey(const QString& section, const QString& key) {
  return section.compare(kDataSourcesSection, Qt::CaseInsensitive) == 0 ? DriverManagerName(key) : key;
}

QString LockPath() { return RunFolder() + QStringLiteral("/odbc.lock"); }

// The file's content; a missing file is an empty one. Nothing when the file is there but cannot
// be read.
std::optional<OdbcIni> ReadIni(const QString& path) {
  QByteArray content;
  bool missing = false;
  if (!ReadWholeFile(path, &content, &missing)) return std::nullopt;
  return OdbcIni::Parse(content);
}

// What a reader sees: a file that cannot be read holds nothing.
OdbcIni ReadIniOrEmpty(const QString& path) { return ReadIni(path).value_or(OdbcIni()); }

// Reads, changes and replaces one file under the lock. `change` returns false to leave the file
// as it was; a file that cannot be read is never replaced, since its entries would be lost.
bool ModifyIni(const QString& path, const std::function<bool(OdbcIni&)>& change) {
  const FileLock lock(LockPath(), FileLock::Mode::Exclusive);
  if (!lock.held()) return false;
  std::optional<OdbcIni> ini = ReadIni(path);
  if (!ini || !change(*ini)) return false;
  return ReplaceFileAtomically(path, ini->Serialize());
}

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

void SetFileError(QString* error) {
  SetError(error, QStringLiteral("The ODBC data source file cannot be read or written."));
}

QString CheckEntries(const QString& section, const OdbcEntries& entries) {
  QString problem = OdbcIni::CheckSectionName(section);
  for (const auto& [key, value] : entries) {
    if (!problem.isEmpty()) break;
    problem = OdbcIni::CheckKey(key);
    if (problem.isEmpty()) problem = OdbcIni::CheckValue(value);
  }
  return problem;
}

void RegisterSystemDrivers() {
  if (QFileInfo::exists(OdbcInstIniPath())) return;
  const FileLock lock(LockPath(), FileLock::Mode::Exclusive);
  if (!lock.held() || QFileInfo::exists(OdbcInstIniPath())) return;
  QByteArray system;
  bool missing = false;
  ReadWholeFile(QString::fromLatin1(kSystemOdbcInstIni), &system, &missing);
  ReplaceFileAtomically(OdbcInstIniPath(), OdbcIni::Parse(system).Serialize());
}

// The registered driver whose library file name begins with `library`; `fallback` when none.
QString DriverByLibrary(const QString& library, const QString& fallback) {
  const OdbcIni drivers = ReadIniOrEmpty(OdbcInstIniPath());
  for (const QString& name : drivers.SectionNames()) {
    if (QFileInfo(drivers.Value(name, QStringLiteral("Driver"))).fileName().startsWith(library)) return name;
  }
  return fallback;
}

enum class FileFormat { Sqlite, Jet, Other };

FileFormat ReadFileFormat(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return FileFormat::Other;
  const QByteArray head = file.read(32);
  if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return FileFormat::Sqlite;
  const QByteArray signature = head.mid(4, 15);
  if (signature == "Standard Jet DB" || signature == "Standard ACE DB") return FileFormat::Jet;
  return FileFormat::Other;
}

// Closing any descriptor of a file drops every POSIX lock this process holds on it, SQLite's
// included: once a database is open here, reading its header again would let other programs
// take it for unused, reset its write-ahead log and miss what this process commits. So a file's
// format is read once, before the first connection to it.
FileFormat DetectFileFormat(const QString& path) {
  static std::mutex guard;
  static std::map<QString, FileFormat> known;
  const QString key = QFileInfo(path).absoluteFilePath();
  const std::lock_guard<std::mutex> lock(guard);
  const auto found = known.find(key);
  if (found != known.end()) return found->second;
  const FileFormat format = ReadFileFormat(path);
  if (format != FileFormat::Other) known.emplace(key, format);  // a file still missing may come later
  return format;
}

bool IsAccessDriver(const QString& windowsDriver) {
  return windowsDriver == kAccessDriver || windowsDriver == kAccessDriverAccdb;
}

// A value that would end, open or break an attribute of a connection string.
bool FitsConnectionString(const QString& value) {
  return !value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') && !value.contains(u'\n') &&
         !value.contains(u'\r') && !value.contains(QChar(0));
}

QString SqliteDriver() { return DriverByLibrary(QStringLiteral("libsqlite3odbc"), QStringLiteral("SQLite3")); }
QString MdbToolsDriver() { return DriverByLibrary(QStringLiteral("libmdbodbc"), QStringLiteral("MDBTools")); }

// The name points at a fresh or reused load; a load it pointed at before goes.
bool RegisterStandIn(const QString& name, const QString& windowsDriver, const QString& path, QString* error) {
  QString problem;
  QString database;
  if (!LoadStandIn(name, windowsDriver, path, &database, &problem)) {
    SetError(error, problem);
    return false;
  }
  const QString previous = DataSourceValue(name, QStringLiteral("Database"));
  const OdbcEntries entries{{QStringLiteral("Driver"), SqliteDriver()},
                            {QStringLiteral("Database"), database},
                            {QStringLiteral("NoCreat"), QStringLiteral("1")},
                            {QStringLiteral("Timeout"), kSqliteBusyTimeout}};
  const bool written = WriteDataSource(name, entries, error);
  if (database != previous) DeleteStandIn(written ? previous : database);
  return written;
}

}  // namespace

QString DriverManagerName(const QString& name) {
  if (name.size() <= kMaxDataSourceName) return name;
  uint32_t digest = 2166136261U;  // FNV-1a over the UTF-16 units
  for (const QChar unit : name) {
    digest = (digest ^ unit.unicode()) * 16777619U;
  }
  return name.left(23) + u'~' + QStringLiteral("%1").arg(digest, 8, 16, QLatin1Char('0'));
}

void PrepareOdbc() {
  UseUtf8CharacterSet();
  const QByteArray folder = OdbcFolder().toUtf8();
  const QByteArray ini = OdbcIniPath().toUtf8();
  if (qgetenv("ODBCSYSINI") != folder) qputenv("ODBCSYSINI", folder);
  if (qgetenv("ODBCINI") != ini) qputenv("ODBCINI", ini);
  RegisterSystemDrivers();
}

bool RemoveEmptyOdbcIni() {
  const FileLock lock(LockPath(), FileLock::Mode::Exclusive);
  QByteArray content;
  bool missing = false;
  if (!lock.held() || !ReadWholeFile(OdbcIniPath(), &content, &missing) || missing) return false;
  const QString header = u'[' + kDataSourcesSection + u']';
  for (const QByteArray& line : content.split('\n')) {
    const QString text = QString::fromUtf8(line).trimmed();
    if (!text.isEmpty() && text.compare(header, Qt::CaseInsensitive) != 0) return false;
  }
  return QFile::remove(OdbcIniPath());
}

QString OdbcIniPath() { return OdbcFolder() + QStringLiteral("/odbc.ini"); }

QString OdbcInstIniPath() { return OdbcFolder() + QStringLiteral("/odbcinst.ini"); }

QString DataSourceValue(const QString& section, const QString& key) {
  return ReadIniOrEmpty(OdbcIniPath()).Value(DriverManagerName(section), DriverManagerKey(section, key));
}

QString DriverValue(const QString& driver, const QString& key) {
  return ReadIniOrEmpty(OdbcInstIniPath()).Value(driver, key);
}

QStringList DriverNames() {
  QStringList names = ReadIniOrEmpty(OdbcInstIniPath()).SectionNames();
  names.removeIf([](const QString& name) { return name.compare(u"ODBC", Qt::CaseInsensitive) == 0; });
  return names;
}

bool SetDataSourceValue(const QString& sectionName, const QString& keyName, const QString& value, QString* error) {
  const QString section = DriverManagerName(sectionName);
  const QString key = DriverManagerKey(sectionName, keyName);
  const QString problem = CheckEntries(section, {{key, value}});
  if (!problem.isEmpty()) {
    SetError(error, problem);
    return false;
  }
  const bool written = ModifyIni(OdbcIniPath(), [&](OdbcIni& ini) {
    ini.SetValue(section, key, value);
    return true;
  });
  if (!written) SetFileError(error);
  return written;
}

bool RemoveDataSourceValue(const QString& section, const QString& key) {
  return ModifyIni(OdbcIniPath(), [&](OdbcIni& ini) {
    return ini.RemoveValue(DriverManagerName(section), DriverManagerKey(section, key));
  });
}

bool WriteDataSource(const QString& dataSourceName, const OdbcEntries& entries, QString* error) {
  const QString name = DriverManagerName(dataSourceName);
  const QString problem = CheckEntries(name, entries);
  if (!problem.isEmpty()) {
    SetError(error, problem);
    return false;
  }
  OdbcIni::Section section{name, {}};
  for (const auto& [key, value] : entries) section.entries.append({key, value});
  const bool written = ModifyIni(OdbcIniPath(), [&](OdbcIni& ini) {
    ini.ReplaceSection(section);
    return true;
  });
  if (!written) SetFileError(error);
  return written;
}

bool RemoveDataSource(const QString& name) {
  QString database;
  const bool removed = ModifyIni(OdbcIniPath(), [&](OdbcIni& ini) {
    database = ini.Value(DriverManagerName(name), QStringLiteral("Database"));
    return ini.RemoveSection(DriverManagerName(name));
  });
  if (removed) DeleteStandIn(database);
  return removed;
}

QString DataSourceConnectionString(const QString& name, QString* error) {
  const OdbcIni ini = ReadIniOrEmpty(OdbcIniPath());
  const OdbcIni::Section* section = ini.FindSection(DriverManagerName(name));
  const QString driver = section != nullptr ? ini.Value(section->name, QStringLiteral("Driver")) : QString();
  if (driver.isEmpty() || !FitsConnectionString(driver)) {
    SetError(error, QStringLiteral("The data source name %1 is not registered with a usable driver.").arg(name));
    return {};
  }
  QString text = QStringLiteral("DRIVER={%1};").arg(driver);
  for (const OdbcIni::Entry& entry : section->entries) {
    if (entry.key.isEmpty() || entry.key.compare(u"Driver", Qt::CaseInsensitive) == 0) continue;
    if (!FitsConnectionString(entry.key) || !FitsConnectionString(entry.value) || entry.key.contains(u'=')) {
      SetError(error, QStringLiteral("The entry %1 of the data source name %2 cannot stand in a connection string.")
                          .arg(entry.key, name));
      return {};
    }
    text += entry.key + u'=' + entry.value + u';';
    // The mdbtools driver takes the file of a connection string as DBQ, the SQLite driver as Database.
    if (entry.key.compare(u"Database", Qt::CaseInsensitive) == 0) text += QStringLiteral("DBQ=") + entry.value + u';';
  }
  return text;
}

QString LinuxDriverForFile(const QString& windowsDriver, const QString& path) {
  if (IsStandInDriver(windowsDriver)) return SqliteDriver();
  if (!IsAccessDriver(windowsDriver)) return windowsDriver;
  return DetectFileFormat(path) == FileFormat::Jet ? MdbToolsDriver() : SqliteDriver();
}

bool IsServedByMdbTools(const QString& windowsDriver, const QString& path) {
  return IsAccessDriver(windowsDriver) && LinuxDriverForFile(windowsDriver, path) == MdbToolsDriver();
}

bool RegisterFileDataSource(const QString& name, const QString& windowsDriver, const QString& path,
                            FileSharing sharing, QString* error) {
  PrepareOdbc();
  if (IsStandInDriver(windowsDriver)) return RegisterStandIn(name, windowsDriver, path, error);
  const QString driver = LinuxDriverForFile(windowsDriver, path);
  OdbcEntries entries{{QStringLiteral("Driver"), driver}, {QStringLiteral("Database"), path}};
  if (IsAccessDriver(windowsDriver) && driver != MdbToolsDriver()) {
    entries.append({QStringLiteral("NoCreat"), QStringLiteral("1")});
    entries.append({QStringLiteral("Timeout"), kSqliteBusyTimeout});
    if (sharing == FileSharing::SharedByPrograms) entries.append({QStringLiteral("JournalMode"), QStringLiteral("WAL")});
  }
  return WriteDataSource(name, entries, error);
}

}  // namespace platform
