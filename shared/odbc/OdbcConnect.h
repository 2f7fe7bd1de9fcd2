#pragma once

#include "platform/odbc/OdbcHandle.h"

#include <sql.h>

#include <QString>

#include <cstdint>

// The connect core of both programs' connections: handles with the login time-out, the file
// kinds behind a temporary data source name, and the connect call itself.

// A fresh ODBC 3 environment and a connection on it, the connection with a login time-out of 5 s
// when `loginTimeout` is set; the last ODBC result (SQL_ERROR when a handle could not be made).
SQLRETURN NewEnvironmentAndConnection(platform::OdbcHandle* environment, platform::OdbcHandle* connection,
                                      bool loginTimeout);

// The Windows driver that serves a desktop file of source kind `kind` (1 .mdb, 2 .xls, 3 .dbf,
// 4 .txt, 5 .csv, 6 .accdb, 7 .xlsx, 8 .xlsm, the last served by kind 7's driver); empty for
// any other kind.
QString FileDriverOfKind(uint8_t kind);

// Registers `dataSourceName` for the file at `path` with the driver of `kind`; false with the
// connect-failure text in `error` (when given) for a kind without a driver, a path that
// connection attributes cannot take, or a registration that fails.
bool RegisterTemporaryDataSource(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error);

// SQLConnectW of the data source name (under its driver-manager name) with user and password,
// every text passed with its length.
SQLRETURN ConnectDataSourceName(SQLHDBC connection, const QString& dataSourceName, const QString& user,
                                const QString& password);

// Connects a registered file by what its name is registered for now, never by the name: the
// driver manager may still hold an earlier registration of that name. The file drivers take no
// credentials. When the registration cannot be read, SQL_ERROR with the reason in `problem`.
SQLRETURN ConnectFileDataSource(SQLHDBC connection, const QString& dataSourceName, QString* problem);

// The database product of the connection (SQL_DBMS_NAME); empty when it cannot be read.
QString GetDbmsName(SQLHDBC connection);

// Sets read-only or read-write access for the next connect.
SQLRETURN SetAccessMode(SQLHDBC connection, bool readOnly);

// True when a driver description names MySQL or MariaDB, which counts as MySQL everywhere.
bool IsMySqlDriver(const QString& driverDescription);
