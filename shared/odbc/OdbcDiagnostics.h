#pragma once

#include <QString>
#include <QStringList>

#include <sql.h>

#include <cstdint>

// The description of an ODBC failure from its first diagnostic record, in the texts both programs
// log, and the driver lookup of a data source name.
struct OdbcDiagRecord {
  QString sqlState;
  int32_t nativeError = 0;
  QString message;
};

// Diagnostic record 1 of the handle, its message cut to `messageChars` - 1 characters; empty texts
// and code 0 when there is none.
OdbcDiagRecord ReadOdbcDiagRecord(SQLSMALLINT handleType, SQLHANDLE handle, int messageChars = 300);

// The forms in which the programs show or log an ODBC failure. The record sources write theirs
// with no blank after a line break, the free functions and the connection with one.
enum class OdbcTextForm {
  // "SQLSTATE:%s \n Native Error Code:%ld \n Driver Message:=' %s '"
  Diagnostic,
  // "Failed to connect to database.\n\nODBC Reports : \n\n " and the Diagnostic form
  ConnectFailure,
  // "ODBC Reports : \n\nSQLSTATE:%s \nNative Error Code:%ld \nDriver Message:=' %s '"
  SourceReport,
  // "Failed to connect to database.\n\n" and the SourceReport form
  SourceConnectFailure,
};

// The one text of an ODBC failure, in the form the place that shows or logs it uses.
QString FormatOdbcDiagnostics(const OdbcDiagRecord& record, OdbcTextForm form);

// True when the record points at the user name or password: its message names "PASSWORD",
// "USER" or "LOGIN" (any case) or its SQLSTATE contains 28000, 42000 or 37000.
bool MentionsLogin(const OdbcDiagRecord& record);

// The driver description of the data source name (exact match), empty when there is none.
QString GetDataSourceDriver(const QString& dataSourceName);

// Every data source name the driver manager lists, user and system names alike, in its order.
QStringList ListDataSourceNames();
