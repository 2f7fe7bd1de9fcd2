#include "shared/odbc/OdbcConnect.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcText.h"
#include "shared/contract/InstallLayout.h"

#include <sqlext.h>

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr SQLUINTEGER kLoginTimeoutSeconds = 5;

// A file path becomes part of connection attributes: characters that end or open an attribute
// there, and line breaks, are refused.
bool IsSafeAttributePath(const QString& path) {
  for (const QChar character : path) {
    if (character == u';' || character == u'{' || character == u'}' || character == u'\r' || character == u'\n' ||
        character == u'\0') {
      return false;
    }
  }
  return !path.isEmpty();
}

// The settings database is used by two programs and three threads at once.
platform::FileSharing SharingOf(const QString& path) {
  return QFileInfo(path).fileName().compare(installlayout::kSettingsDatabase, Qt::CaseInsensitive) == 0
             ? platform::FileSharing::SharedByPrograms
             : platform::FileSharing::Single;
}

// unixODBC's SQLConnectW reads past a text given as zero-terminated (SQL_NTS) when it converts
// it for the driver, so the connect call's texts go with their lengths.
SQLSMALLINT SqlLength(const QString& text) { return static_cast<SQLSMALLINT>(std::min<qsizetype>(text.size(), SHRT_MAX)); }

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

SQLRETURN NewEnvironmentAndConnection(platform::OdbcHandle* environment, platform::OdbcHandle* connection,
                                      bool loginTimeout) {
  connection->reset();
  *environment = platform::OdbcHandle::NewEnvironment();
  if (!*environment) return SQL_ERROR;
  *connection = platform::OdbcHandle::Allocate(SQL_HANDLE_DBC, environment->get());
  if (!*connection) return SQL_ERROR;
  if (!loginTimeout) return SQL_SUCCESS;
  return SQLSetConnectAttrW(connection->get(), SQL_ATTR_LOGIN_TIMEOUT,
                            reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kLoginTimeoutSeconds)), SQL_IS_UINTEGER);
}

QString FileDriverOfKind(uint8_t kind) {
  switch (kind) {
    case 1: return QStringLiteral("Microsoft Access Driver (*.mdb)");
    case 2: return QStringLiteral("Microsoft Excel Driver (*.xls)");
    case 3: return QStringLiteral("Microsoft dBase Driver (*.dbf)");
    case 4:
    case 5: return QStringLiteral("Microsoft Text Driver (*.txt; *.csv)");
    case 6: return QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");
    case 7:
    case 8: return QStringLiteral("Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)");
    default: return {};
  }
}

bool RegisterTemporaryDataSource(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error) {
  const QString driver = FileDriverOfKind(kind);
  if (driver.isEmpty()) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC driver serves source kind %1.").arg(kind));
    return false;
  }
  if (!IsSafeAttributePath(path)) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nThe path \"%1\" is empty or holds a character "
                                   "that a data source cannot take (; { } or a line break).")
                        .arg(path));
    return false;
  }
  QString problem;
  if (!platform::RegisterFileDataSource(dataSourceName, driver, path, SharingOf(path), &problem)) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nThe data source name %1 could not be "
                                   "registered: %2")
                        .arg(dataSourceName, problem));
    return false;
  }
  return true;
}

SQLRETURN ConnectDataSourceName(SQLHDBC connection, const QString& dataSourceName, const QString& user,
                                const QString& password) {
  if (connection == SQL_NULL_HDBC) return SQL_ERROR;
  const QString name = platform::DriverManagerName(dataSourceName);
  return SQLConnectW(connection, platform::SqlText(name), SqlLength(name), platform::SqlText(user), SqlLength(user),
                     platform::SqlText(password), SqlLength(password));
}

SQLRETURN ConnectFileDataSource(SQLHDBC connection, const QString& dataSourceName, QString* problem) {
  const QString text = platform::DataSourceConnectionString(dataSourceName, problem);
  if (text.isEmpty()) {
    if (problem->isEmpty()) *problem = QStringLiteral("The data source name %1 is not registered.").arg(dataSourceName);
    return SQL_ERROR;
  }
  return SQLDriverConnectW(connection, nullptr, platform::SqlText(text), SqlLength(text), nullptr, 0, nullptr,
                           SQL_DRIVER_NOPROMPT);
}

SQLRETURN SetAccessMode(SQLHDBC connection, bool readOnly) {
  const SQLULEN mode = readOnly ? SQL_MODE_READ_ONLY : SQL_MODE_READ_WRITE;
  return SQLSetConnectAttrW(connection, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(mode), SQL_IS_UINTEGER);
}

bool IsMySqlDriver(const QString& driverDescription) {
  return driverDescription.contains(u"MySQL") || driverDescription.contains(u"MariaDB");
}

QString GetDbmsName(SQLHDBC connection) {
  std::array<SQLWCHAR, 128> name{};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetInfoW(connection, SQL_DBMS_NAME, name.data(), static_cast<SQLSMALLINT>(sizeof name), &length)))
    return {};
  return platform::FromSqlTextZ(name.data(), static_cast<qsizetype>(name.size()));
}
