#include "sync/data/DatabseConnection.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcText.h"
#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/OdbcStatement.h"
#include "sync/data/ExcelLock.h"
#include "sync/data/MutexSharedMemory.h"
#include "sync/data/SyncOdbc.h"

#include <sqlext.h>

#include <algorithm>

namespace {

constexpr uint32_t kSharedMemorySize = 100;

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

CDatabseConnection::CDatabseConnection() {
  Track(NewEnvironmentAndConnection(&m_environment, &m_connection, true));
  m_pSharedMemory = std::make_unique<CMutexSharedMemory>(false, QStringLiteral("MSEXCEL"), kSharedMemorySize);
  // Refused quietly when another connection added it first.
  if (m_pSharedMemory->IsInitialised()) m_pSharedMemory->AddVariable(QString::fromUtf16(ExcelLock::kVariableName), 0);
  m_pExcelLock = std::make_unique<ExcelLock>(m_pSharedMemory.get());
}

CDatabseConnection::~CDatabseConnection() {
  if (m_bConnected) DisconnectDataSource();
  m_pExcelLock.reset();
  m_connection.reset();
  m_environment.reset();
}

QString CDatabseConnection::FileMakerServerDataSource(const QString& path) {
  const QString fileName = path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
  return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

bool CDatabseConnection::HoldsExcelLock() const { return m_pExcelLock->Held(); }

int CDatabseConnection::ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source,
                                          const QString& user, const QString& password, QString* error,
                                          bool readOnly) {
  if (m_bConnected) DisconnectDataSource();
  if (!m_connection) Track(NewEnvironmentAndConnection(&m_environment, &m_connection, true));
  if (!m_connection) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC connection handle could be made."));
    return 0;
  }
  Track(SetAccessMode(m_connection.get(), readOnly));
  if (kind == sourcekind::kNamedDataSource) return Connect(source, kind, user, password, error);
  if (kind == sourcekind::kFileMaker) return ConnectFileMaker(dataSourceName, source, user, password, error);
  return ConnectFile(dataSourceName, kind, source, error);
}

int CDatabseConnection::ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                                         const QString& password, QString* error) {
  if (!syncservice::CreateFileMakerDsn(FileMakerServerDataSource(path), dataSourceName)) return 0;
  m_strRegisteredName = dataSourceName;
  const QString usedPassword = password.contains(u"Q:\\Vorn") ? QString() : password;
  return Connect(dataSourceName, sourcekind::kFileMaker, user, usedPassword, error);
}

int CDatabseConnection::ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path,
                                    QString* error) {
  if (kind > sourcekind::kLastRegisteredFileKind) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC driver serves source kind %1.").arg(kind));
    return 0;
  }
  if (!RegisterTemporaryDataSource(dataSourceName, kind, path, error)) return 0;
  m_strRegisteredName = dataSourceName;
  QString problem;
  const SQLRETURN result = Track(ConnectFileDataSource(m_connection.get(), dataSourceName, &problem));
  if (!problem.isEmpty()) {
    m_strLastError = QStringLiteral("Failed to connect to database.\n\n%1").arg(problem);
    SetError(error, m_strLastError);
    RemoveRegisteredName(kind);
    return 0;
  }
  return Finish(result, kind, error);
}

int CDatabseConnection::Connect(const QString& dataSourceName, uint8_t kind, const QString& user,
                                const QString& password, QString* error) {
  return Finish(Track(ConnectDataSourceName(m_connection.get(), dataSourceName, user, password)), kind, error);
}

int CDatabseConnection::Finish(SQLRETURN result, uint8_t kind, QString* error) {
  if (!SQL_SUCCEEDED(result)) {
    m_strLastError =
        FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get()), OdbcTextForm::ConnectFailure);
    SetError(error, m_strLastError);
    m_bConnected = false;
    RemoveRegisteredName(kind);
    return 0;
  }
  m_nDriverKind = kind;
  m_bConnected = true;
  if (kind == sourcekind::kXls && !TakeExcelLock(error)) {
    DisconnectDataSource();
    return 0;
  }
  return 1;
}

bool CDatabseConnection::TakeExcelLock(QString* error) {
  if (m_pExcelLock->Take(m_lockGiveUp ? m_lockGiveUp : [] { return false; })) return true;
  m_strLastError = QStringLiteral("Failed to connect to database.\n\nThe workbook is in use by another connection "
                                  "and the wait for it was given up.");
  SetError(error, m_strLastError);
  return false;
}

void CDatabseConnection::RemoveRegisteredName(uint8_t kind) {
  if (m_strRegisteredName.isEmpty()) return;
  if (kind == sourcekind::kFileMaker) {
    DeleteDsnKey(m_strRegisteredName);
  } else {
    platform::RemoveDataSource(m_strRegisteredName);
  }
  m_strRegisteredName.clear();
}

void CDatabseConnection::DisconnectDataSource() {
  if (m_connection) Track(SQLDisconnect(m_connection.get()));
  if (m_nDriverKind != sourcekind::kNamedDataSource && m_bConnected) RemoveRegisteredName(m_nDriverKind);
  m_bConnected = false;
  // Only the lock this connection holds is given back.
  m_pExcelLock->Release();
}

SQLRETURN CDatabseConnection::ExecuteStatement(const QString& sql) {
  m_strLastError.clear();
  platform::OdbcHandle statement = NewCursorStatement(m_connection.get());
  if (!statement) {
    m_strLastError =
        FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get()), OdbcTextForm::Diagnostic);
    return Track(SQL_ERROR);
  }
  SQLRETURN result = Track(SQLPrepareW(statement.get(), platform::SqlText(sql), SQL_NTS));
  if (SQL_SUCCEEDED(result)) result = Track(SQLExecute(statement.get()));
  if (result == SQL_ERROR) {
    m_strLastError = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get()), OdbcTextForm::Diagnostic);
  }
  SQLCloseCursor(statement.get());
  return result;
}
