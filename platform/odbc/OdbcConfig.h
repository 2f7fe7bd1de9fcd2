#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The ODBC configuration of the machine root: its odbc.ini holds the data source names and its
// odbcinst.ini the installed drivers. Changes of either file happen under one file lock in the
// run folder and replace the file atomically, so two programs registering names at once never
// lose or tear an entry.
namespace platform {

using OdbcEntries = QList<QPair<QString, QString>>;

// The section of odbc.ini that lists every data source name with its driver.
inline const QString kDataSourcesSection = QStringLiteral("ODBC Data Sources");

// Points unixODBC at the machine root's ODBC folder (ODBCSYSINI at the folder, ODBCINI at its
// odbc.ini) and, when the folder has no odbcinst.ini yet, registers the drivers the system has
// installed. Called before every ODBC environment is made. unixODBC reads ODBCSYSINI only once
// per process: the drivers come from the first machine root a process uses.
void PrepareOdbc();

// The name under which the driver manager knows a data source name: names of up to 32 units
// stay as they are; a longer one, which unixODBC refuses, becomes its first 23 units, "~" and 8
// hexadecimal digits of a digest of the whole name. Every function here that takes a data
// source name applies it, and connects use it.
QString DriverManagerName(const QString& name);

QString OdbcIniPath();
QString OdbcInstIniPath();

// A value of a section of odbc.ini (data source names) or odbcinst.ini (drivers); empty when
// either is missing.
QString DataSourceValue(const QString& section, const QString& key);
QString DriverValue(const QString& driver, const QString& key);
QStringList DriverNames();

// Changes of odbc.ini. The writers refuse a name or value that the file cannot hold (line
// breaks, brackets) with a reason in `error` and leave the file as it was.
bool SetDataSourceValue(const QString& section, const QString& key, const QString& value,
                        QString* error = nullptr);
bool RemoveDataSourceValue(const QString& section, const QString& key);
// Replaces the whole section with `entries`, in that order.
bool WriteDataSource(const QString& name, const OdbcEntries& entries, QString* error = nullptr);
// True when the section was there and is gone (with the stand-in database it pointed at).
bool RemoveDataSource(const QString& name);
// Deletes odbc.ini when it names no data source and holds nothing else (blank lines and an empty
// list of data sources only); true when deleted.
bool RemoveEmptyOdbcIni();

// Registers `name` for the desktop file at `path` under the Windows driver name the callers
// use. An Access driver name gives the SQLite 3 driver for an SQLite file (a missing file stays
// an error, never a new database; a shared database also gets the WAL journal) and the mdbtools
// driver, read-only, for a real Jet/ACE file. The Excel, Text and dBase driver names load the
// file, or the folder's files, into a read-only SQLite database of their own (OdbcStandIn.h),
// which goes when the name is removed; a file that cannot be read fails the registration with
// why in `error`. Any other Windows driver has no Linux driver: the name is registered with it
// as it is, so the connect fails with the driver manager's missing-driver error. No user name
// or password is ever written.
enum class FileSharing { Single, SharedByPrograms };
bool RegisterFileDataSource(const QString& name, const QString& windowsDriver, const QString& path,
                            FileSharing sharing, QString* error = nullptr);

// The connection string that reaches what `name` is registered for at this moment: its driver
// and every entry of its section, read from odbc.ini now. unixODBC's driver manager keeps what
// it read of odbc.ini for 20 seconds, in a cache no public call clears, so a connect by name can
// reach an earlier registration of the same name; a registered file is connected by this text.
// Empty, with the reason in `error`, when the name is not registered or a value cannot stand in
// a connection string.
QString DataSourceConnectionString(const QString& name, QString* error = nullptr);

// The Linux driver name registered for a desktop file, as RegisterFileDataSource chooses it.
QString LinuxDriverForFile(const QString& windowsDriver, const QString& path);

// True when the mdbtools driver serves the desktop file at `path` under `windowsDriver`: a real
// Jet/ACE file, whose SQL takes dates in "#" delimiters. False for an SQLite file under an Access
// driver name and for every other driver name.
bool IsServedByMdbTools(const QString& windowsDriver, const QString& path);

}  // namespace platform
