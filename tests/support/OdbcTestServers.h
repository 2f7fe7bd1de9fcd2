#pragma once

#include <QString>

#include <ostream>
#include <vector>

// The database engines the ODBC tests of both programs run on, and the data source names of the
// servers that scripts/run-tests.sh starts.
namespace odbctest {

enum class Engine { Sqlite, PostgreSql, MariaDb };

QString EngineName(Engine engine);
inline void PrintTo(Engine engine, std::ostream* out) { *out << EngineName(engine).toStdString(); }
std::vector<Engine> AllEngines();

// The data source name registered for a server engine, and the user and password it takes.
QString ServerDataSourceName(Engine engine);
QString ServerUser(Engine engine);
QString ServerPassword(Engine engine);

// The login of a server engine's data source.
struct ServerLogin {
  QString dataSourceName;
  QString user;
  QString password;
};

// Registers the data source name of the server the test run started for `engine` in the
// machine root. False with the reason when there is none; the reason starts with "skip:" when
// the run started no such server.
bool RegisterServerDataSource(Engine engine, ServerLogin* login, QString* unavailable);

}  // namespace odbctest

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
