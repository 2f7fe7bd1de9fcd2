#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/data/SourceKinds.h"

#include <sql.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// One ODBC environment and connection. Connects an existing data source name, or a desktop
// database file behind a temporary data source name that it registers for the file's driver and
// removes again at disconnect (and after a failed connect). Offers the catalog lookups of the
// profile pages and the execution of single statements.
class CDatabseConnection {
 public:
  // The name every FileMaker file is registered under.
  static QString FileMakerDataSourceName();
  // The database name of a FileMaker file: its file name without the extension's four characters.
  static QString FileMakerDatabaseName(const QString& path);

  CDatabseConnection();
  virtual ~CDatabseConnection();
  CDatabseConnection(const CDatabseConnection&) = delete;
  CDatabseConnection& operator=(const CDatabseConnection&) = delete;

  // 1 connected, 0 failed (with the reason in `error` when given). `pathOrName` is the data
  // source name for kind 0, else the file. The user name and password go to the connect call
  // only, never into a data source file.
  int ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& pathOrName,
                        const QString& user, const QString& password, QString* error, bool readOnly);
  void DisconnectDataSource();

  // The result of executing one statement (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO, SQL_ERROR, ...).
  // An UPDATE or DELETE that matches no row is a success.
  SQLRETURN ExecuteStatement(const QString& sql);
  // The diagnostic record of the last statement that failed in ExecuteStatement.
  const OdbcDiagRecord& GetLastStatementDiagnostic() const { return m_lastStatementDiagnostic; }

  // Catalog lookups; each answers the number of entries it appended.
  // `request` 1 tables, 2 views, any other both.
  int GetTableList(QStringList* names, QStringList* schemas, QStringList* types, int request);
  // The procedures of the source, without the engine's own (schemas sys, pg_catalog and
  // information_schema).
  int GetProcedureList(QStringList* names);
  // Names and SQL types (0 for a type the devices cannot take) of the table's columns.
  int GetColumnList(const QString& table, QStringList* names, QList<int16_t>* types);
  // Names, parameter kinds (SQL_PARAM_INPUT, ...) and SQL types of the procedure's columns.
  int GetProcedureColumnList(const QString& procedure, QStringList* names, QList<int16_t>* kinds,
                             QList<int16_t>* types);
  bool AreColumnTypesSupported(const QString& table);
  int GetSpecialColumnList(const QString& table, QStringList* names);
  // A key catalog that cannot be read is raised as a failure (admin::RaiseFailure).
  int GetPrimaryKeyList(const QString& table, QStringList* names);
  // 1 and the CASE_SENSITIVE flag of the first type whose DATA_TYPE, in decimal, equals `dataType`.
  int GetTypeCaseSensitivity(const QString& dataType, int* caseSensitive);
  // The SQL type of the table's column as the column catalog gives it, when the type catalog lists
  // that type; else 0 (also for a column the table does not have).
  int GetTypeInfoList(const QString& table, const QString& column);

  // True when the named data source's driver is MySQL or MariaDB, respectively FoxPro.
  static bool IsMySqlDataSource(const QString& name);
  // True when a driver description names MySQL or MariaDB.
  static bool IsMySqlDriver(const QString& driverDescription);
  static bool IsFoxProDataSource(const QString& name);
  // Whether the last connection of a named data source went to MySQL or MariaDB.
  static bool GetMySqlFlag();

  SQLHDBC GetConnectionHandle() const { return m_connection.get(); }
  // The database product name the driver reports; empty when not connected.
  QString GetProductName() const;
  bool IsConnected() const { return m_bConnected; }
  uint8_t GetSourceKind() const { return m_nSourceKind; }
  SQLRETURN GetLastReturnCode() const { return m_nLastReturnCode; }

 private:
  void NewEnvironmentAndConnection(bool loginTimeout);
  int ConnectNamedSource(const QString& name, const QString& user, const QString& password, QString* error);
  int ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                       const QString& password, QString* error);
  int ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error);
  // Connects the data source name and finishes (FinishConnect).
  int Connect(const QString& dataSourceName, uint8_t kind, const QString& user, const QString& password,
              QString* error);
  // Connects a registered file by what its name is registered for now, never by the name: the
  // driver manager may still hold an earlier registration of that name. The file drivers take no
  // credentials.
  int ConnectRegisteredFile(const QString& dataSourceName, uint8_t kind, QString* error);
  // Connected with `kind` after a successful connect call; else reports the failure and removes a
  // temporary name.
  int FinishConnect(SQLRETURN result, uint8_t kind, QString* error);
  void RemoveTemporaryDataSource(uint8_t kind);
  // The catalog search pattern that matches `name` only, with the driver's escape character.
  QString SearchPattern(const QString& name);
  // A text answer of SQLGetInfo; empty when the driver gives none.
  QString InfoText(SQLUSMALLINT infoType) const;
  // A catalog lookup on the connection that keeps its return codes in the last return code.
  CatalogQuery Catalog(std::initializer_list<CatalogQuery::Column> columns);
  // Runs SQLColumnsW for the columns of exactly `table` (its name as a search pattern).
  bool RunColumns(CatalogQuery* query, const QString& table);
  // The DATA_TYPE the column catalog gives for exactly that column of the table.
  std::optional<SQLSMALLINT> FindColumnType(const QString& table, const QString& column);
  // The CASE_SENSITIVE flag of the first type of the type catalog whose DATA_TYPE, in decimal,
  // equals `dataType`; nothing when none does or the catalog cannot be read (logged).
  std::optional<int> FindListedType(const QString& dataType);
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }

  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;
  platform::OdbcHandle m_environment;
  platform::OdbcHandle m_connection;
  bool m_bConnected = false;
  uint8_t m_nSourceKind = sourcekind::kNamedDataSource;
  // The data source name for a named source; the temporary name registered for a file.
  QString m_strDataSourceName;
  OdbcDiagRecord m_lastStatementDiagnostic;
};
