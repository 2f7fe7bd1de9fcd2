#include "tests/support/OdbcTestServers.h"

#include "platform/odbc/OdbcConfig.h"

namespace odbctest {
namespace {

struct ServerSettings {
  const char* prefix;
  const char* driver;
  const char* hostKey;
  const char* portKey;
  const char* databaseKey;
};

ServerSettings SettingsOf(Engine engine) {
  if (engine == Engine::PostgreSql) {
    return {"TARNWICK_TEST_PG_", "PostgreSQL Unicode", "Servername", "Port", "Database"};
  }
  return {"TARNWICK_TEST_MARIADB_", "MariaDB Unicode", "SERVER", "PORT", "DATABASE"};
}

QString Setting(const ServerSettings& settings, const char* name) {
  return qEnvironmentVariable((QByteArray(settings.prefix) + name).constData());
}

}  // namespace

QString EngineName(Engine engine) {
  switch (engine) {
    case Engine::Sqlite: return QStringLiteral("SQLite");
    case Engine::PostgreSql: return QStringLiteral("PostgreSQL");
    case Engine::MariaDb: return QStringLiteral("MariaDB");
  }
  return {};
}

std::vector<Engine> AllEngines() { return {Engine::Sqlite, Engine::PostgreSql, Engine::MariaDb}; }

QString ServerDataSourceName(Engine engine) {
  return engine == Engine::PostgreSql ? QStringLiteral("TarnwickTestPostgreSQL") : QStringLiteral("TarnwickTestMariaDB");
}

QString ServerUser(Engine engine) { return Setting(SettingsOf(engine), "USER"); }

QString ServerPassword(Engine engine) { return Setting(SettingsOf(engine), "PASSWORD"); }

bool RegisterServerDataSource(Engine engine, ServerLogin* login, QString* unavailable) {
  const ServerSettings settings = SettingsOf(engine);
  if (Setting(settings, "PORT").isEmpty()) {
    *unavailable = QStringLiteral("skip: no %1 server was started for this run (scripts/run-tests.sh starts one)")
                       .arg(EngineName(engine));
    return false;
  }
  login->dataSourceName = ServerDataSourceName(engine);
  login->user = ServerUser(engine);
  login->password = ServerPassword(engine);
  platform::OdbcEntries entries{{QStringLiteral("Driver"), QString::fromLatin1(settings.driver)},
                                {QString::fromLatin1(settings.hostKey), Setting(settings, "HOST")},
                                {QString::fromLatin1(settings.portKey), Setting(settings, "PORT")},
                                {QString::fromLatin1(settings.databaseKey), Setting(settings, "DATABASE")}};
  // Booleans as SQL_BIT rather than as text.
  if (engine == Engine::PostgreSql) entries.append({QStringLiteral("BoolsAsChar"), QStringLiteral("0")});
  return platform::WriteDataSource(login->dataSourceName, entries, unavailable);
}

}  // namespace odbctest
