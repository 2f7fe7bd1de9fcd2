#include "admin/profiles/UserDataSourceNames.h"

#include "platform/odbc/OdbcConfig.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/odbc/OdbcDiagnostics.h"

namespace {

// Data source names compare without case, as the driver manager finds them.
bool IsOwnDataSourceName(const QString& listed) {
  for (const QString& own : datasources::OwnNames()) {
    if (listed.compare(own, Qt::CaseInsensitive) == 0 ||
        listed.compare(platform::DriverManagerName(own), Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

}  // namespace

QStringList ListUserDataSourceNames() {
  QStringList names = ListDataSourceNames();
  names.removeIf(IsOwnDataSourceName);
  return names;
}
