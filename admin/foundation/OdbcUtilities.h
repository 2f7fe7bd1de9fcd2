#pragma once

#include "shared/odbc/OdbcDiagnostics.h"

#include <sql.h>

#include <QString>
#include <QStringList>

#include <cstdint>

namespace admin {
// Differs from the sync program's test by design: a native error code of 0 counts as a login error.
// Reads the connection's first diagnostic record into `text` (OdbcTextForm::Diagnostic);
// `isLoginError` becomes true when the message speaks of a password, user or login, the SQLSTATE
// is 28000, 42000 or 37000, or the native code is 0 (the connection pages then ask for a user
// name and password).
void IsOdbcLoginError(SQLHDBC connection, bool* isLoginError, QString* text);
}  // namespace admin

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

// The database a data source name points at.
QString GetDsnDatabaseName(const QString& dataSourceName);

namespace admin {

// Twins of the sync program's, which runs unattended: a missing FileMaker driver is raised as a
// failure to be shown and logged, and a found one logged (shared/odbc/FileMakerDsn.h holds the rest).
bool AddOdbcDataSourceEntry(const QString& dataSourceName);
bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName);

// Deletes the "New_" copies of workbooks in the folder of the workbook exports. The sync
// program's twin deletes every copy but those, which are the exports this program made.
void DeleteTempExcelCopies();

}  // namespace admin
