#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "shared/data/SourceKinds.h"

#include <sql.h>

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class CMutexSharedMemory;
class ExcelLock;

// The sync program's ODBC connection: an existing data source name, or a desktop file behind a
// data source name of this program that it registers for the file's driver and removes again at
// disconnect (and after a failed connect). A workbook reached through the ODBC Excel driver
// (kind 2) is worked on by one connection at a time: the connection holds the workbook lock from
// connect to disconnect.
class CDatabseConnection {
 public:
  CDatabseConnection();
  virtual ~CDatabseConnection();
  CDatabseConnection(const CDatabseConnection&) = delete;
  CDatabseConnection& operator=(const CDatabseConnection&) = delete;

  // 1 connected, 0 failed (the reason in `error` when given). `source` is the data source name
  // for kind 0, else the file. The user name and password go to the connect call only.
  int ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source, const QString& user,
                        const QString& password, QString* error, bool readOnly);
  void DisconnectDataSource();

  // Runs one statement on a statement handle of its own (dynamic cursor, lock concurrency); the
  // result of SQLExecute (of SQLPrepareW when that fails). A failure's text is GetLastError().
  SQLRETURN ExecuteStatement(const QString& sql);

  // A wait for the workbook lock ends, and the connect fails, when this answers true (a stop).
  void SetLockGiveUp(std::function<bool()> giveUp) { m_lockGiveUp = std::move(giveUp); }
  // Whether this connection holds the workbook lock.
  bool HoldsExcelLock() const;

  SQLHDBC GetConnectionHandle() const { return m_connection.get(); }
  bool IsConnected() const { return m_bConnected; }
  uint8_t GetDriverKind() const { return m_nDriverKind; }
  SQLRETURN GetLastReturnCode() const { return m_nLastReturnCode; }
  const QString& GetLastError() const { return m_strLastError; }

  // The server data source of a FileMaker file: its file name (after the last "\" or "/")
  // without the last four characters.
  static QString FileMakerServerDataSource(const QString& path);

 private:
  int ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                       const QString& password, QString* error);
  // A file is connected by what its name is registered for now; the file drivers take no
  // credentials.
  int ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error);
  int Connect(const QString& dataSourceName, uint8_t kind, const QString& user, const QString& password,
              QString* error);
  // Connected with `kind` after a successful connect call; else the failure reported and a
  // registered name removed.
  int Finish(SQLRETURN result, uint8_t kind, QString* error);
  bool TakeExcelLock(QString* error);
  void RemoveRegisteredName(uint8_t kind);
  SQLRETURN Track(SQLRETURN result) { return m_nLastReturnCode = result; }

  platform::OdbcHandle m_environment;
  platform::OdbcHandle m_connection;
  SQLRETURN m_nLastReturnCode = SQL_SUCCESS;
  bool m_bConnected = false;
  uint8_t m_nDriverKind = sourcekind::kNamedDataSource;
  // The name this connection registered for a file; empty for a named source.
  QString m_strRegisteredName;
  QString m_strLastError;
  std::unique_ptr<CMutexSharedMemory> m_pSharedMemory;
  std::unique_ptr<ExcelLock> m_pExcelLock;
  std::function<bool()> m_lockGiveUp;
};
