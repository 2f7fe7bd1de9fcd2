#include "shared/odbc/OdbcDiagnostics.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcText.h"

#include <sqlext.h>

#include <functional>
#include <vector>

OdbcDiagRecord ReadOdbcDiagRecord(SQLSMALLINT handleType, SQLHANDLE handle, int messageChars) {
  OdbcDiagRecord record;
  SQLWCHAR state[6] = {};
  std::vector<SQLWCHAR> message(static_cast<size_t>(messageChars), 0);
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, 1, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(messageChars), &length);
  if (!SQL_SUCCEEDED(rc)) return record;
  record.sqlState = platform::FromSqlTextZ(state, 5);
  record.nativeError = native;
  record.message = platform::FromSqlTextZ(message.data(), messageChars);
  return record;
}

QString FormatOdbcDiagnostics(const OdbcDiagRecord& record, OdbcTextForm form) {
  const char16_t* format = nullptr;
  switch (form) {
    case OdbcTextForm::Diagnostic:
      format = u"SQLSTATE:%1 \n Native Error Code:%2 \n Driver Message:=' %3 '";
      break;
    case OdbcTextForm::ConnectFailure:
      format = u"Failed to connect to database.\n\nODBC Reports : \n\n SQLSTATE:%1 \n Native Error Code:%2 \n "
               u"Driver Message:=' %3 '";
      break;
    case OdbcTextForm::SourceReport:
      format = u"ODBC Reports : \n\nSQLSTATE:%1 \nNative Error Code:%2 \nDriver Message:=' %3 '";
      break;
    case OdbcTextForm::SourceConnectFailure:
      format = u"Failed to connect to database.\n\nODBC Reports : \n\nSQLSTATE:%1 \nNative Error Code:%2 \nDriver "
               u"Message:=' %3 '";
      break;
  }
  return QString::fromUtf16(format).arg(record.sqlState, QString::number(record.nativeError), record.message);
}

bool MentionsLogin(const OdbcDiagRecord& record) {
  const QString upper = record.message.toUpper();
  for (const char* word : {"PASSWORD", "USER", "LOGIN"}) {
    if (upper.contains(QLatin1String(word))) return true;
  }
  for (const char* state : {"28000", "42000", "37000"}) {
    if (record.sqlState.contains(QLatin1String(state))) return true;
  }
  return false;
}

namespace {

// Walks the driver manager's data sources, user and system alike, in its order, until `visit`
// answers false.
void ForEachDataSource(const std::function<bool(const QString& name, const QString& driver)>& visit) {
  const platform::OdbcHandle environment = platform::OdbcHandle::NewEnvironment();
  if (!environment) return;
  SQLWCHAR listed[256];
  SQLWCHAR description[256];
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT descriptionLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (SQLDataSourcesW(environment.get(), direction, listed, 256, &nameLength, description, 256,
                         &descriptionLength) == SQL_SUCCESS) {
    direction = SQL_FETCH_NEXT;
    if (!visit(platform::FromSqlTextZ(listed, 256), platform::FromSqlTextZ(description, 256))) return;
  }
}

}  // namespace

QString GetDataSourceDriver(const QString& dataSourceName) {
  const QString wanted = platform::DriverManagerName(dataSourceName);
  QString found;
  ForEachDataSource([&](const QString& name, const QString& driver) {
    if (name != wanted) return true;
    found = driver;
    return false;
  });
  return found;
}

QStringList ListDataSourceNames() {
  QStringList names;
  ForEachDataSource([&](const QString& name, const QString&) {
    names.append(name);
    return true;
  });
  return names;
}
