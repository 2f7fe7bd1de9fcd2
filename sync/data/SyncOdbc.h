#pragma once

#include <QString>

#include <sql.h>

// The sync program's ODBC helpers: the login-error test and the FileMaker (DataDirect SequeLink)
// data-source entries (the rest of them in shared/odbc/FileMakerDsn.h; SQL text helpers in
// shared/odbc/SqlQuotes.h and QueryText.h).

// `syncservice` rather than `sync`, which unistd.h declares as a function.
namespace syncservice {
// Differs from the administration program's by design: a native error code of 0 alone is no login error.
// `flag` = 1 when diagnostic record 1 of the handle (message up to 511 characters) points at the
// user name or password, else 0; `text` gets the record (OdbcTextForm::Diagnostic).
void IsOdbcLoginError(SQLSMALLINT handleType, SQLHANDLE handle, int* flag, QString* text);

// Twins of the administration program's, which show and log a missing driver: the unattended
// sync program only answers false.

// Lists the data source name under the FileMaker driver; false without the driver.
bool AddOdbcDataSourceEntry(const QString& dataSourceName);

// Registers a FileMaker data source for the server data source (the database name); false at
// the first entry that cannot be written, or without the driver.
bool CreateFileMakerDsn(const QString& serverDataSource, const QString& dataSourceName);

}  // namespace syncservice
