#pragma once

#include "platform/OdbcDiagnostic.h"

#include <sql.h>

#include <QString>
#include <QStringList>

#include <cstdint>

// Texts of ODBC failures. The record sources report with the first two, the free functions and
// connections with the last two (which carry a blank after each line break).
QString FormatOdbcReport(const platform::OdbcDiagnostic& diagnostic);
QString FormatOdbcConnectReport(const platform::OdbcDiagnostic& diagnostic);
QString FormatDiagnosticText(const platform::OdbcDiagnostic& diagnostic);
QString FormatConnectFailureText(const platform::OdbcDiagnostic& diagnostic);

// Reads the handle's first diagnostic record into a text of the free functions' forms.
// `isLoginError` becomes true when the message speaks of a password, user or login, the SQLSTATE
// is 28000, 42000 or 37000, or the native code is 0 (the connection pages then ask for a user
// name and password).
void IsOdbcLoginError(SQLHDBC connection, bool* isLoginError, QString* text);
void FormatOdbcDiagnostics(SQLHSTMT statement, QString* text);
void FormatConnectFailure(SQLSMALLINT handleType, SQLHANDLE handle, QString* text);

// Vocabularies of filters, sorting and types.
QString GetJoinOperatorText(int code);
QString GetCompareOperatorText(int code);
int GetOperatorIndex(const QString& text);
QString GetSortOrderText(int descending);
// The decimal value of a text of digits (empty: 0); -1 when any other character occurs or the
// value does not fit a 32-bit integer.
int32_t ParseDigits(const QString& text);
bool IsSupportedSqlType(int sqlType);
// The SQL type of a MySQL or MariaDB column type text such as "varchar(45)"; 0 when unsupported.
int MySqlTypeToSqlType(const QString& typeText);
bool IsNotSqlKeyword(const QString& name);
int SplitByDelimiters(const QString& text, const QString& delimiters, QStringList* pieces);
// The path up to its last separator ("\" or "/"); a drive ("C:") keeps its backslash.
QString GetDirectoryPart(const QString& path);

// Data source names and drivers of the machine's ODBC configuration.
QString FindFileMakerDriverName();
QString GetOdbcDriverPath();
bool AddOdbcDataSourceEntry(const QString& dataSourceName);
bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName);
bool RemoveOdbcDataSourceEntry(const QString& dataSourceName);
bool DeleteDsnKey(const QString& dataSourceName);
// The driver description the driver manager lists for the data source name; empty when none.
QString GetDataSourceDriver(const QString& dataSourceName);
QString GetDsnDatabaseName(const QString& dataSourceName);
