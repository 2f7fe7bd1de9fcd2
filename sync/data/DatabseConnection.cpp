#include "sync/data/DatabseConnection.h"

#include "shared/data/SourceKinds.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "sync/data/ExcelLock.h"
#include "sync/data/MutexSharedMemory.h"
#include "sync/data/SyncOdbc.h"

namespace syncservice {

namespace {

constexpr uint32_t kSharedMemorySize = 100;

}  // namespace

CDatabseConnection::CDatabseConnection() : data::OdbcConnection(sourcekind::kLastRegisteredFileKind) {
  KeepConnectFailuresIn(&m_strLastError);
  m_pSharedMemory = std::make_unique<CMutexSharedMemory>(false, QStringLiteral("MSEXCEL"), kSharedMemorySize);
  // Refused quietly when another connection added it first.
  if (m_pSharedMemory->IsInitialised()) m_pSharedMemory->AddVariable(QString::fromUtf16(ExcelLock::kVariableName), 0);
  m_pExcelLock = std::make_unique<ExcelLock>(m_pSharedMemory.get());
}

CDatabseConnection::~CDatabseConnection() {
  if (IsConnected()) DisconnectDataSource();
}

bool CDatabseConnection::HoldsExcelLock() const { return m_pExcelLock->Held(); }

int CDatabseConnection::ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source,
                                          const QString& user, const QString& password, QString* error,
                                          bool readOnly) {
  if (data::OdbcConnection::ConnectDataSource(dataSourceName, kind, source, user, password, error, readOnly) == 0) {
    return 0;
  }
  if (kind == sourcekind::kXls && !TakeExcelLock(error)) {
    DisconnectDataSource();
    return 0;
  }
  return 1;
}

bool CDatabseConnection::CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) {
  return syncservice::CreateFileMakerDsn(databaseName, dataSourceName);
}

bool CDatabseConnection::TakeExcelLock(QString* error) {
  if (m_pExcelLock->Take(m_lockGiveUp ? m_lockGiveUp : [] { return false; })) return true;
  m_strLastError = QStringLiteral("Failed to connect to database.\n\nThe workbook is in use by another connection "
                                  "and the wait for it was given up.");
  if (error != nullptr) *error = m_strLastError;
  return false;
}

void CDatabseConnection::DisconnectDataSource() {
  data::OdbcConnection::DisconnectDataSource();
  // Only the lock this connection holds is given back.
  m_pExcelLock->Release();
}

SQLRETURN CDatabseConnection::ExecuteStatement(const QString& sql) {
  m_strLastError.clear();
  const SQLRETURN result = RunStatement(sql, true);
  if (result == SQL_ERROR) m_strLastError = FormatOdbcDiagnostics(GetLastStatementDiagnostic(), OdbcTextForm::Diagnostic);
  return result;
}

}  // namespace syncservice
