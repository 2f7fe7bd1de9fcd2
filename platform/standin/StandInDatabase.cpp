#include "platform/standin/StandInDatabase.h"

#include "platform/os/SystemError.h"

#include <sqlite3.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>

#include <cstdio>
#include <memory>

namespace platform {
namespace {

struct DatabaseCloser {
  void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

QString Quoted(const QString& name) {
  return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString TypeName(StandInType type) {
  switch (type) {
    case StandInType::Integer: return QStringLiteral("INTEGER");
    case StandInType::Double: return QStringLiteral("DOUBLE");
    case StandInType::Text: break;
  }
  return QStringLiteral("TEXT");
}

QString LastError(sqlite3* database) { return QString::fromUtf8(sqlite3_errmsg(database)); }

bool Execute(sqlite3* database, const QString& sql, QString* error) {
  if (sqlite3_exec(database, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  *error = LastError(database);
  return false;
}

// An SQLite table needs a column: an empty file or sheet shows one unnamed column, as the
// Windows drivers show it.
QString CreateStatement(const StandInTable& table) {
  QStringList columns;
  for (qsizetype i = 0; i < table.columns.size(); ++i) {
    columns.append(Quoted(table.columns[i]) + u' ' + TypeName(table.types[i]));
  }
  if (columns.isEmpty()) columns.append(QStringLiteral("F1 TEXT"));
  return QStringLiteral("CREATE TABLE %1 (%2)").arg(Quoted(table.name), columns.join(QStringLiteral(", ")));
}

QString InsertStatement(const StandInTable& table) {
  QStringList places;
  for (qsizetype i = 0; i < table.columns.size(); ++i) places.append(QStringLiteral("?"));
  return QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(Quoted(table.name), places.join(u','));
}

void Bind(sqlite3_stmt* statement, int place, const QString& value, StandInType type) {
  if (value.isNull()) {
    sqlite3_bind_null(statement, place);
  } else if (type == StandInType::Integer) {
    sqlite3_bind_int64(statement, place, value.toLongLong());
  } else if (type == StandInType::Double) {
    sqlite3_bind_double(statement, place, value.toDouble());
  } else {
    const QByteArray text = value.toUtf8();
    sqlite3_bind_text(statement, place, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
}

bool InsertRows(sqlite3* database, const StandInTable& table, QString* error) {
  if (table.rows.isEmpty()) return true;
  sqlite3_stmt* prepared = nullptr;
  if (sqlite3_prepare_v2(database, InsertStatement(table).toUtf8().constData(), -1, &prepared, nullptr) != SQLITE_OK) {
    *error = LastError(database);
    return false;
  }
  const Statement insert(prepared);
  for (const QStringList& row : table.rows) {
    for (qsizetype i = 0; i < row.size(); ++i) Bind(insert.get(), static_cast<int>(i + 1), row[i], table.types[i]);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
      *error = LastError(database);
      return false;
    }
    sqlite3_reset(insert.get());
  }
  return true;
}

bool WriteTables(const QString& path, const QList<StandInTable>& tables, QString* error) {
  sqlite3* opened = nullptr;
  const int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &opened,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  const Database database(opened);
  if (result != SQLITE_OK) {
    *error = database ? LastError(database.get()) : QStringLiteral("out of memory");
    return false;
  }
  // The file is not yet in use and is thrown away on any failure: no journal needed.
  if (!Execute(database.get(), QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN"), error)) {
    return false;
  }
  for (const StandInTable& table : tables) {
    if (!Execute(database.get(), CreateStatement(table), error) || !InsertRows(database.get(), table, error)) {
      *error = QStringLiteral("table %1: %2").arg(table.name, *error);
      return false;
    }
  }
  return Execute(database.get(), QStringLiteral("COMMIT"), error);
}

}  // namespace

bool WriteStandInDatabase(const QString& path, const QList<StandInTable>& tables, QString* error) {
  QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
  QString problem;
  if (!file.open()) {
    problem = file.errorString();
  } else if (WriteTables(file.fileName(), tables, &problem)) {
    // rename() replaces an earlier load of the same name in one step, as QFile's rename cannot.
    if (rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) == 0) {
      file.setAutoRemove(false);
      return true;
    }
    problem = GetSystemErrorText(GetLastError());
  }
  *error = QStringLiteral("The temporary database %1 cannot be written: %2.").arg(path, problem);
  return false;
}

}  // namespace platform
