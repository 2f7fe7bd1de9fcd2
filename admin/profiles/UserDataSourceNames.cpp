#include "admin/profiles/UserDataSourceNames.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ProfileSources.h"
#include "platform/OdbcConfig.h"
#include "shared/odbc/OdbcDiagnostics.h"

namespace {

// The settings databases of the administration program, the sync program and the installer, and
// the names under which the two programs open a profile's desktop file.
QStringList OwnDataSourceNames() {
  return {QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"),
          QStringLiteral("UserProfileDSN_FOR_TarnwickPLite"),
          QStringLiteral("TempTarnwickPlusWPDSN"),
          kProfileDataSourceName,
          CDatabseConnection::FileMakerDataSourceName(),
          QStringLiteral("TarnwickPDSN_4_TarnwickPLite"),
          QStringLiteral("TarnwickPDSN_4_TarnwickPLite_BS")};
}

// Data source names compare without case, as the driver manager finds them.
bool IsOwnDataSourceName(const QString& listed) {
  for (const QString& own : OwnDataSourceNames()) {
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
