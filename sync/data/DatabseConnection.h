#pragma once

#include "shared/data/OdbcConnection.h"

#include <sql.h>

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class CMutexSharedMemory;
class ExcelLock;

namespace syncservice {

// The sync program's ODBC connection: it keeps a last-error text, and a workbook reached through
// the ODBC Excel driver (kind 2) is worked on by one connection at a time: the connection holds
// the workbook lock from connect to disconnect.
class CDatabseConnection : public data::OdbcConnection {
 public:
  CDatabseConnection();
  ~CDatabseConnection() override;

  // 1 connected, 0 failed (the reason in `error` when given). `source` is the data source name
  // for kind 0, else the file. The user name and password go to the connect call only.
  int ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source, const QString& user,
                        const QString& password, QString* error, bool readOnly) override;
  void DisconnectDataSource() override;

  // Runs one statement on a statement handle of its own (dynamic cursor, lock concurrency); the
  // result of SQLExecute (of SQLPrepareW when that fails). A failure's text is GetLastError().
  SQLRETURN ExecuteStatement(const QString& sql);

  // A wait for the workbook lock ends, and the connect fails, when this answers true (a stop).
  void SetLockGiveUp(std::function<bool()> giveUp) { m_lockGiveUp = std::move(giveUp); }
  // Whether this connection holds the workbook lock.
  bool HoldsExcelLock() const;

  uint8_t GetDriverKind() const { return GetSourceKind(); }
  const QString& GetLastError() const { return m_strLastError; }

  // The server data source of a FileMaker file: its file name (after the last "\" or "/")
  // without the last four characters.
  static QString FileMakerServerDataSource(const QString& path) { return FileMakerDatabaseName(path); }

 protected:
  bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) override;

 private:
  bool TakeExcelLock(QString* error);

  QString m_strLastError;
  std::unique_ptr<CMutexSharedMemory> m_pSharedMemory;
  std::unique_ptr<ExcelLock> m_pExcelLock;
  std::function<bool()> m_lockGiveUp;
};

}  // namespace syncservice
