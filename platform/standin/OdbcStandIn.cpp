#include "platform/standin/OdbcStandIn.h"

#include "platform/os/MachineRoot.h"
#include "platform/standin/DbfTable.h"
#include "platform/standin/SchemaIniReader.h"
#include "platform/standin/StandInDatabase.h"
#include "platform/standin/TextFileTable.h"
#include "platform/workbook/WorkbookTables.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <algorithm>

namespace platform {
namespace {

const QString kExcelDriver = QStringLiteral("Microsoft Excel Driver (*.xls)");
const QString kExcelDriverAll = QStringLiteral("Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)");
const QString kTextDriver = QStringLiteral("Microsoft Text Driver (*.txt; *.csv)");
const QString kDbaseDriver = QStringLiteral("Microsoft dBase Driver (*.dbf)");

// Part of every load's fingerprint: a change of how files are loaded makes earlier loads unused.
constexpr char kLoadFormat[] = "stand-in load 1";

enum class SourceKind { Text, Dbase, Workbook };

SourceKind KindOf(const QString& windowsDriver) {
  if (windowsDriver == kTextDriver) return SourceKind::Text;
  if (windowsDriver == kDbaseDriver) return SourceKind::Dbase;
  return SourceKind::Workbook;
}

QString StandInFolder() {
  const QString folder = RunFolder() + QStringLiteral("/odbc-standins");
  QDir().mkpath(folder);
  return folder;
}

QStringList NameFilters(SourceKind kind) {
  return kind == SourceKind::Text ? QStringList{QStringLiteral("*.txt"), QStringLiteral("*.csv")}
                                  : QStringList{QStringLiteral("*.dbf")};
}

// The files that become tables: every file of the kind in a folder, or the one file given.
bool SourceFiles(SourceKind kind, const QString& path, QFileInfoList* files, QString* error) {
  const QFileInfo info(path);
  if (!info.exists()) {
    *error = QStringLiteral("The file or folder %1 does not exist.").arg(path);
    return false;
  }
  if (info.isDir() && kind == SourceKind::Workbook) {
    *error = QStringLiteral("%1 is a folder, not a workbook.").arg(path);
    return false;
  }
  *files = info.isDir() ? QDir(path).entryInfoList(NameFilters(kind), QDir::Files, QDir::Name) : QFileInfoList{info};
  return true;
}

QString SchemaIniPath(const QString& path) {
  const QFileInfo info(path);
  return (info.isDir() ? info.absoluteFilePath() : info.absolutePath()) + QStringLiteral("/schema.ini");
}

// A file system keeps times in steps (a few milliseconds, two seconds on FAT): a write within
// the step of an earlier one can leave size and times as they were.
constexpr qint64 kTimeStepNanoseconds = 2'000'000'000;

qint64 Nanoseconds(const timespec& time) { return time.tv_sec * 1'000'000'000LL + time.tv_nsec; }

// Identity, size, modification and change time (to the nanosecond): a file replaced or written
// since has another.
QByteArray FileStamp(const QString& path) {
  struct stat status {};
  if (stat(QFile::encodeName(path).constData(), &status) != 0) return QByteArrayLiteral("missing");
  return QByteArray::number(static_cast<qulonglong>(status.st_dev)) + ':' +
         QByteArray::number(static_cast<qulonglong>(status.st_ino)) + ':' +
         QByteArray::number(static_cast<qlonglong>(status.st_size)) + ':' +
         QByteArray::number(Nanoseconds(status.st_mtim)) + ':' + QByteArray::number(Nanoseconds(status.st_ctim));
}

// The latest modification or change time; 0 for a file that is not there.
qint64 LastWritten(const QString& path) {
  struct stat status {};
  if (stat(QFile::encodeName(path).constData(), &status) != 0) return 0;
  return std::max(Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim));
}

// A load may stand for its files only when it was made a whole time step after their last write:
// a later write then shows in their times.
bool IsSettledLoad(const QString& load, const QString& path, const QFileInfoList& files) {
  qint64 lastSource = LastWritten(SchemaIniPath(path));
  for (const QFileInfo& file : files) lastSource = std::max(lastSource, LastWritten(file.absoluteFilePath()));
  const qint64 loaded = LastWritten(load);
  return loaded != 0 && loaded - lastSource > kTimeStepNanoseconds;
}

QString LoadPath(const QString& name, const QString& windowsDriver, const QString& path, const QFileInfoList& files) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (const QString& part : {QString::fromLatin1(kLoadFormat), name, windowsDriver, path}) {
    hash.addData(part.toUtf8() + '\0');
  }
  for (const QFileInfo& file : files) {
    hash.addData(file.absoluteFilePath().toUtf8() + '\0' + FileStamp(file.absoluteFilePath()) + '\0');
  }
  hash.addData(FileStamp(SchemaIniPath(path)));
  return StandInFolder() + QStringLiteral("/standin-") + QString::fromLatin1(hash.result().left(16).toHex()) +
         QStringLiteral(".sqlite");
}

bool ReadBytes(const QFileInfo& file, QByteArray* bytes, QString* error) {
  QFile source(file.absoluteFilePath());
  if (!source.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("The file %1 cannot be read: %2.").arg(file.fileName(), source.errorString());
    return false;
  }
  *bytes = source.readAll();
  return true;
}

bool ReadSchemaIni(const QString& path, SchemaIniReader* schema, QString* error) {
  const QFileInfo file(SchemaIniPath(path));
  QByteArray bytes;
  if (!file.exists()) return true;
  return ReadBytes(file, &bytes, error) && SchemaIniReader::Parse(bytes, schema, error);
}

bool ReadTextTables(const QString& path, const QFileInfoList& files, QList<StandInTable>* tables, QString* error) {
  SchemaIniReader schema;
  if (!ReadSchemaIni(path, &schema, error)) return false;
  for (const QFileInfo& file : files) {
    TextFileFormat format;
    QByteArray bytes;
    StandInTable table;
    if (!schema.FormatOf(file.fileName(), &format, error) || !ReadBytes(file, &bytes, error) ||
        !ReadTextFileTable(file.fileName(), bytes, format, &table, error)) {
      return false;
    }
    tables->append(table);
  }
  return true;
}

bool ReadDbfTables(const QFileInfoList& files, QList<StandInTable>* tables, QString* error) {
  for (const QFileInfo& file : files) {
    StandInTable table;
    if (!ReadDbfTable(file.absoluteFilePath(), &table, error)) return false;
    tables->append(table);
  }
  return true;
}

bool ReadTables(SourceKind kind, const QString& path, const QFileInfoList& files, QList<StandInTable>* tables,
                QString* error) {
  switch (kind) {
    case SourceKind::Text: return ReadTextTables(path, files, tables, error);
    case SourceKind::Dbase: return ReadDbfTables(files, tables, error);
    case SourceKind::Workbook: break;
  }
  return ReadWorkbookTables(path, tables, error);
}

// SQLite compares table names without regard to case, as the Windows drivers do.
bool CheckDistinctNames(const QList<StandInTable>& tables, QString* error) {
  QSet<QString> names;
  for (const StandInTable& table : tables) {
    if (names.contains(table.name.toLower())) {
      *error = QStringLiteral("Two files give the table name %1.").arg(table.name);
      return false;
    }
    names.insert(table.name.toLower());
  }
  return true;
}

// The SQLite driver lists tables in the order they were made; the Windows drivers list them by
// name.
void SortByName(QList<StandInTable>* tables) {
  std::stable_sort(tables->begin(), tables->end(), [](const StandInTable& left, const StandInTable& right) {
    return left.name.compare(right.name, Qt::CaseInsensitive) < 0;
  });
}

QString ReadOnlyUri(const QString& file) {
  return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

}  // namespace

bool IsStandInDriver(const QString& windowsDriver) {
  return windowsDriver == kExcelDriver || windowsDriver == kExcelDriverAll || windowsDriver == kTextDriver ||
         windowsDriver == kDbaseDriver;
}

bool LoadStandIn(const QString& name, const QString& windowsDriver, const QString& path, QString* database,
                 QString* error) {
  const SourceKind kind = KindOf(windowsDriver);
  QFileInfoList files;
  if (!SourceFiles(kind, path, &files, error)) return false;
  const QString load = LoadPath(name, windowsDriver, path, files);
  if (!IsSettledLoad(load, path, files)) {
    QList<StandInTable> tables;
    if (!ReadTables(kind, path, files, &tables, error) || !CheckDistinctNames(tables, error)) return false;
    SortByName(&tables);
    if (!WriteStandInDatabase(load, tables, error)) return false;
  }
  *database = ReadOnlyUri(load);
  return true;
}

void DeleteStandIn(const QString& database) {
  if (!database.startsWith(u"file:")) return;
  const QFileInfo file(QUrl(database).toLocalFile());
  if (file.absolutePath() == QFileInfo(StandInFolder()).absoluteFilePath() && file.fileName().startsWith(u"standin-")) {
    QFile::remove(file.absoluteFilePath());
  }
}

}  // namespace platform
