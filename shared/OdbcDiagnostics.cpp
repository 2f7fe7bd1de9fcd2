#include "shared/OdbcDiagnostics.h"

#include <sqlext.h>

#include <vector>

namespace {

QString FromSqlWChar(const SQLWCHAR* text, int capacity) {
  int length = 0;
  while (length < capacity && text[length] != 0) ++length;
  return QString(reinterpret_cast<const QChar*>(text), length);
}

// One ODBC 3 environment, freed on every path.
class Environment {
 public:
  Environment() {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle_))) {
      handle_ = SQL_NULL_HENV;
      return;
    }
    SQLSetEnvAttr(handle_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  }
  ~Environment() {
    if (handle_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, handle_);
  }
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

  SQLHENV get() const { return handle_; }

 private:
  SQLHENV handle_ = SQL_NULL_HENV;
};

}  // namespace

OdbcDiagRecord ReadOdbcDiagRecord(SQLSMALLINT handleType, SQLHANDLE handle, int messageChars) {
  OdbcDiagRecord record;
  SQLWCHAR state[6] = {};
  std::vector<SQLWCHAR> message(static_cast<size_t>(messageChars), 0);
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, 1, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(messageChars), &length);
  if (!SQL_SUCCEEDED(rc)) return record;
  record.sqlState = FromSqlWChar(state, 5);
  record.nativeError = native;
  record.message = FromSqlWChar(message.data(), messageChars);
  return record;
}

QString OdbcDiagText(const OdbcDiagRecord& record) {
  return QStringLiteral("SQLSTATE:%1 \n Native Error Code:%2 \n Driver Message:=' %3 '")
      .arg(record.sqlState)
      .arg(record.nativeError)
      .arg(record.message);
}

void FormatOdbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, QString* text) {
  *text = OdbcDiagText(ReadOdbcDiagRecord(handleType, handle));
}

void FormatConnectError(SQLSMALLINT handleType, SQLHANDLE handle, QString* text) {
  *text = QStringLiteral("Failed to connect to database.\n\nODBC Reports : \n\n ") +
          OdbcDiagText(ReadOdbcDiagRecord(handleType, handle));
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

QString GetDataSourceDriver(const QString& dataSourceName) {
  Environment environment;
  if (environment.get() == SQL_NULL_HENV) return {};
  SQLWCHAR name[256];
  SQLWCHAR description[256];
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT descriptionLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (SQLDataSourcesW(environment.get(), direction, name, 256, &nameLength, description, 256,
                         &descriptionLength) == SQL_SUCCESS) {
    direction = SQL_FETCH_NEXT;
    if (FromSqlWChar(name, 256) == dataSourceName) return FromSqlWChar(description, 256);
  }
  return {};
}
