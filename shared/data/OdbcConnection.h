#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/data/SourceKinds.h"
#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <sql.h>

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace data {

// One ODBC environment and connection of either program. Connects an existing data source name,
// a FileMaker file behind a data source name of the FileMaker driver, or a desktop file behind a
// data source name that it registers for the file's driver. A name it registered is removed
// again at disconnect and after a failed connect. Each program's connection says how a FileMaker
// name is registered and removed, and how it keeps failures.
class OdbcConnection {
 public:
  // The database name of a FileMaker file: its file name (after the last "\" or "/") without the
  // extension's four characters.
  static QString FileMakerDatabaseName(const QString& path);

  virtual ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // 1 connected, 0 failed (with the reason in `error` when given). `source` is the data source
  // name for kind 0, else the file. The user name and password go to the connect call only,
  // never into a data source file.
  virtual int ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source,
                                const QString& user, const QString& password, QString* error, bool readOnly);
  virtual void DisconnectDataSource();

  // The diagnostic record of the last statement that failed in RunStatement.
  const OdbcDiagRecord& GetLastStatementDiagnostic() const { return m_lastStatementDiagnostic; }

  SQLHDBC GetConnectionHandle() const { return m_connection.get(); }
  bool IsConnected() const { return m_connected; }
  uint8_t GetSourceKind() const { return m_sourceKind; }
  SQLRETURN GetLastReturnCode() const { return m_lastReturnCode; }

 protected:
  // Source kinds after `lastFileKind` are refused rather than registered.
  explicit OdbcConnection(uint8_t lastFileKind);

  // Registers `dataSourceName` for the FileMaker database; false fails the connect.
  virtual bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) = 0;
  // Removes the FileMaker name registered as `dataSourceName`.
  virtual void DeleteFileMakerDsn(const QString& dataSourceName);
  // Called just before a data source name is connected with user and password.
  virtual void BeforeConnect(uint8_t kind, const QString& dataSourceName);

  // A failed connect attempt's text also goes to `*text`, whether or not the caller asks for it.
  void KeepConnectFailuresIn(QString* text) { m_connectFailureStore = text; }
  // A fresh environment and connection, the connection with the login time-out.
  void RenewHandles();
  // Prepares and executes one statement on a statement handle of its own with the record
  // sources' cursor: the result of SQLExecute (of SQLPrepareW when that fails); a failure's record
  // is kept. `closeCursor` closes the statement's cursor before the handle goes.
  SQLRETURN RunStatement(const QString& sql, bool closeCursor);
  // A catalog lookup on the connection that keeps its return codes in the last return code.
  CatalogQuery Catalog(std::initializer_list<CatalogQuery::Column> columns);

 private:
  int ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                       const QString& password, QString* error);
  int ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error);
  // Connects the registered file by what its name is registered for now, never by the name: the
  // driver manager may still hold an earlier registration of that name. The file drivers take no
  // credentials.
  int ConnectRegisteredFile(uint8_t kind, QString* error);
  // Connects the data source name and finishes (FinishConnect).
  int Connect(const QString& dataSourceName, uint8_t kind, const QString& user, const QString& password,
              QString* error);
  // Connected with `kind` after a successful connect call; else the failure reported and a
  // registered name removed.
  int FinishConnect(SQLRETURN result, uint8_t kind, QString* error);
  void ReportConnectFailure(const QString& text, QString* error) const;
  void RemoveRegisteredName(uint8_t kind);
  SQLRETURN Track(SQLRETURN result) { return m_lastReturnCode = result; }

  platform::OdbcHandle m_environment;
  platform::OdbcHandle m_connection;
  SQLRETURN m_lastReturnCode = SQL_SUCCESS;
  bool m_connected = false;
  uint8_t m_sourceKind = sourcekind::kNamedDataSource;
  const uint8_t m_lastFileKind;
  // The name this connection registered for a file; empty for a named source.
  QString m_registeredName;
  QString* m_connectFailureStore = nullptr;
  OdbcDiagRecord m_lastStatementDiagnostic;
};

}  // namespace data
