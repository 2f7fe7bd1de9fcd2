#pragma once

#include <QString>

#include <sql.h>

// The sync program's ODBC helpers: the login-error test, SQL text helpers and the FileMaker
// (DataDirect SequeLink) data-source entries.

// `syncservice` rather than `sync`, which unistd.h declares as a function.
namespace syncservice {
// Differs from the administration program's by design: a native error code of 0 alone is no login error.
// `flag` = 1 when diagnostic record 1 of the handle (message up to 511 characters) points at the
// user name or password, else 0; `text` gets the record (OdbcTextForm::Diagnostic).
void IsOdbcLoginError(SQLSMALLINT handleType, SQLHANDLE handle, int* flag, QString* text);
}  // namespace syncservice

// Doubles every single quote of a text value for SQL.
void EscapeSqlQuotes(QString* text);

// The last installed driver whose name contains "DataDirect 32-BIT SequeLink"; empty when none.
QString GetFileMakerDriverName();

// The driver file of that driver; empty when there is none.
QString GetOdbcDriverPath();

// Lists the data source name under the FileMaker driver; false without the driver.
bool AddOdbcDataSourceEntry(const QString& dataSourceName);

// Registers a FileMaker data source for the server data source (the database name); false at
// the first entry that cannot be written, or without the driver.
bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName);

// Takes the name off the list of data sources; true when it was there.
bool RemoveOdbcDataSourceEntry(const QString& dataSourceName);

// Removes the data source name and its entries; true when its entries were there.
bool DeleteDsnKey(const QString& dataSourceName);
