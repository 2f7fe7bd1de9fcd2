#pragma once

#include <QString>

// The FileMaker data sources of both programs, served by the DataDirect SequeLink driver when it
// is installed. The entries go to the machine root's ODBC files under their lock. Each program
// lists a name with its own AddOdbcDataSourceEntry, since they report a missing driver
// differently.

// The last installed driver whose name contains "DataDirect 32-BIT SequeLink"; empty when none.
QString FindFileMakerDriverName();

// The driver file of that driver; empty when there is none.
QString GetOdbcDriverPath();

// Lists the data source name under `driverName` in "ODBC Data Sources".
bool ListDataSource(const QString& dataSourceName, const QString& driverName);

// The entries of a FileMaker data source for the server data source (the database name), in the
// driver's order; false when the driver file is unknown or the file cannot be written.
bool WriteFileMakerEntries(const QString& serverDataSource, const QString& dataSourceName);

// Takes the name off "ODBC Data Sources"; true when it was there.
bool RemoveOdbcDataSourceEntry(const QString& dataSourceName);

// Unlists the data source name and removes its entries; true when its entries were there.
bool DeleteDsnKey(const QString& dataSourceName);
