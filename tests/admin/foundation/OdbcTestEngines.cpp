#include "tests/admin/foundation/OdbcTestEngines.h"

#include "shared/data/SourceKinds.h"
#include "tests/support/FreshMachineRoot.h"

#include <QFile>

namespace odbctest {
namespace {

bool ConnectServer(Engine engine, admin::CDatabseConnection* connection, QString* unavailable) {
  ServerLogin login;
  if (!RegisterServerDataSource(engine, &login, unavailable)) return false;
  QString error;
  if (connection->ConnectDataSource(QString(), sourcekind::kNamedDataSource, login.dataSourceName, login.user,
                                    login.password, &error, false) != 1) {
    *unavailable = error;
    return false;
  }
  return true;
}

}  // namespace

QString SqliteTestFile() { return testsupport::CurrentMachineRoot() + QStringLiteral("/test.mdb"); }

bool ConnectEngine(Engine engine, admin::CDatabseConnection* connection, QString* unavailable) {
  if (engine != Engine::Sqlite) return ConnectServer(engine, connection, unavailable);
  QFile file(SqliteTestFile());
  if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
    *unavailable = QStringLiteral("cannot create %1").arg(SqliteTestFile());
    return false;
  }
  file.close();
  QString error;
  if (connection->ConnectDataSource(QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD"), sourcekind::kMdb,
                                    SqliteTestFile(), QString(), QString(), &error, false) != 1) {
    *unavailable = error;
    return false;
  }
  return true;
}

}  // namespace odbctest
