#include "tests/sync/data/SyncTestEngines.h"

#include "shared/contract/DataSourceNames.h"
#include "shared/data/SourceKinds.h"
#include "tests/support/FreshMachineRoot.h"

#include <QFile>

namespace synctest {

QString SqliteTestFile() { return testsupport::CurrentMachineRoot() + QStringLiteral("/sync-test.mdb"); }

bool ConnectEngine(odbctest::Engine engine, syncservice::CDatabseConnection* connection, QString* unavailable) {
  QString error;
  if (engine == odbctest::Engine::Sqlite) {
    QFile file(SqliteTestFile());
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
      *unavailable = QStringLiteral("cannot create %1").arg(SqliteTestFile());
      return false;
    }
    file.close();
    if (connection->ConnectDataSource(datasources::kSyncProfile, 1, SqliteTestFile(), QString(), QString(), &error,
                                      false) == 1) {
      return true;
    }
    *unavailable = error;
    return false;
  }
  odbctest::ServerLogin login;
  if (!odbctest::RegisterServerDataSource(engine, &login, unavailable)) return false;
  if (connection->ConnectDataSource(QString(), sourcekind::kNamedDataSource, login.dataSourceName, login.user,
                                    login.password, &error, false) == 1) {
    return true;
  }
  *unavailable = error;
  return false;
}

}  // namespace synctest
