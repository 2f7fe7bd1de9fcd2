#pragma once

#include "shared/data/OdbcConnection.h"
#include "shared/odbc/CatalogQuery.h"

#include <sql.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace admin {

// The administration program's ODBC connection: a missing FileMaker driver is raised as a
// failure, and the SequeLink driver gets fresh handles. Offers the catalog lookups of the profile
// pages and the execution of single statements.
class CDatabseConnection : public data::OdbcConnection {
 public:
  // The name every FileMaker file is registered under.
  static QString FileMakerDataSourceName();

  CDatabseConnection();

  // The result of executing one statement (SQL_SUCCESS, SQL_SUCCESS_WITH_INFO, SQL_ERROR, ...);
  // a failure's diagnostic record is GetLastStatementDiagnostic(). An UPDATE or DELETE that
  // matches no row is a success.
  SQLRETURN ExecuteStatement(const QString& sql);

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

  // The database product name the driver reports; empty when not connected.
  QString GetProductName() const;

 protected:
  bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) override;
  // Every FileMaker file is registered under FileMakerDataSourceName(): that name goes.
  void DeleteFileMakerDsn(const QString& dataSourceName) override;
  // Notes whether a named source is MySQL; the SequeLink driver, which serves FileMaker, gets
  // fresh handles.
  void BeforeConnect(uint8_t kind, const QString& dataSourceName) override;

 private:
  // The catalog search pattern that matches `name` only, with the driver's escape character.
  QString SearchPattern(const QString& name);
  // A text answer of SQLGetInfo; empty when the driver gives none.
  QString InfoText(SQLUSMALLINT infoType) const;
  // Runs SQLColumnsW for the columns of exactly `table` (its name as a search pattern).
  bool RunColumns(CatalogQuery* query, const QString& table);
  // The DATA_TYPE the column catalog gives for exactly that column of the table.
  std::optional<SQLSMALLINT> FindColumnType(const QString& table, const QString& column);
  // The CASE_SENSITIVE flag of the first type of the type catalog whose DATA_TYPE, in decimal,
  // equals `dataType`; nothing when none does or the catalog cannot be read (logged).
  std::optional<int> FindListedType(const QString& dataType);
};

}  // namespace admin
