#include "shared/data/OdbcConnection.h"

#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcText.h"
#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>

namespace data {

namespace {

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

QString OdbcConnection::FileMakerDatabaseName(const QString& path) {
  const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  const QString fileName = path.mid(separator + 1);
  return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

OdbcConnection::OdbcConnection(uint8_t lastFileKind) : m_lastFileKind(lastFileKind) { RenewHandles(); }

OdbcConnection::~OdbcConnection() {
  if (m_connected) OdbcConnection::DisconnectDataSource();
  m_connection.reset();
  m_environment.reset();
}

void OdbcConnection::RenewHandles() { Track(NewEnvironmentAndConnection(&m_environment, &m_connection, true)); }

int OdbcConnection::ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& source,
                                      const QString& user, const QString& password, QString* error, bool readOnly) {
  if (m_connected) DisconnectDataSource();
  if (!m_connection) RenewHandles();
  if (!m_connection) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC connection handle could be made."));
    return 0;
  }
  Track(SetAccessMode(m_connection.get(), readOnly));
  switch (kind) {
    case sourcekind::kNamedDataSource:
      return Connect(source, kind, user, password, error);
    case sourcekind::kFileMaker:
      return ConnectFileMaker(dataSourceName, source, user, password, error);
    default:
      return ConnectFile(dataSourceName, kind, source, error);
  }
}

int OdbcConnection::ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                                     const QString& password, QString* error) {
  if (!CreateFileMakerDsn(FileMakerDatabaseName(path), dataSourceName)) return 0;
  m_registeredName = dataSourceName;
  const QString usedPassword = password.contains(u"Q:\\Vorn") ? QString() : password;
  return Connect(dataSourceName, sourcekind::kFileMaker, user, usedPassword, error);
}

int OdbcConnection::ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path, QString* error) {
  if (kind > m_lastFileKind) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC driver serves source kind %1.").arg(kind));
    return 0;
  }
  if (!RegisterTemporaryDataSource(dataSourceName, kind, path, error)) return 0;
  m_registeredName = dataSourceName;
  return ConnectRegisteredFile(kind, error);
}

int OdbcConnection::ConnectRegisteredFile(uint8_t kind, QString* error) {
  QString problem;
  const SQLRETURN result = Track(ConnectFileDataSource(m_connection.get(), m_registeredName, &problem));
  if (!problem.isEmpty()) {
    ReportConnectFailure(QStringLiteral("Failed to connect to database.\n\n%1").arg(problem), error);
    RemoveRegisteredName(kind);
    return 0;
  }
  return FinishConnect(result, kind, error);
}

int OdbcConnection::Connect(const QString& dataSourceName, uint8_t kind, const QString& user,
                            const QString& password, QString* error) {
  BeforeConnect(kind, dataSourceName);
  return FinishConnect(Track(ConnectDataSourceName(m_connection.get(), dataSourceName, user, password)), kind, error);
}

int OdbcConnection::FinishConnect(SQLRETURN result, uint8_t kind, QString* error) {
  if (SQL_SUCCEEDED(result)) {
    m_sourceKind = kind;
    m_connected = true;
    return 1;
  }
  // The driver's record is read only when someone takes its text.
  if (error != nullptr || m_connectFailureStore != nullptr) {
    ReportConnectFailure(FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get()),
                                               OdbcTextForm::ConnectFailure),
                         error);
  }
  m_connected = false;
  RemoveRegisteredName(kind);
  return 0;
}

void OdbcConnection::ReportConnectFailure(const QString& text, QString* error) const {
  SetError(error, text);
  SetError(m_connectFailureStore, text);
}

void OdbcConnection::RemoveRegisteredName(uint8_t kind) {
  if (m_registeredName.isEmpty()) return;
  if (kind == sourcekind::kFileMaker) {
    DeleteFileMakerDsn(m_registeredName);
  } else {
    platform::RemoveDataSource(m_registeredName);
  }
  m_registeredName.clear();
}

void OdbcConnection::DeleteFileMakerDsn(const QString& dataSourceName) { DeleteDsnKey(dataSourceName); }

void OdbcConnection::BeforeConnect(uint8_t, const QString&) {}

void OdbcConnection::DisconnectDataSource() {
  if (m_connection) Track(SQLDisconnect(m_connection.get()));
  if (m_sourceKind != sourcekind::kNamedDataSource && m_connected) RemoveRegisteredName(m_sourceKind);
  m_connected = false;
}

SQLRETURN OdbcConnection::RunStatement(const QString& sql, bool closeCursor) {
  m_lastStatementDiagnostic = {};
  platform::OdbcHandle statement = NewCursorStatement(m_connection.get());
  if (!statement) {
    m_lastStatementDiagnostic = ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get());
    return Track(SQL_ERROR);
  }
  SQLRETURN result = Track(SQLPrepareW(statement.get(), platform::SqlText(sql), SQL_NTS));
  if (SQL_SUCCEEDED(result)) result = Track(SQLExecute(statement.get()));
  if (result == SQL_ERROR) m_lastStatementDiagnostic = ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get());
  if (closeCursor) SQLCloseCursor(statement.get());
  return result;
}

CatalogQuery OdbcConnection::Catalog(std::initializer_list<CatalogQuery::Column> columns) {
  return CatalogQuery(m_connection.get(), columns, &m_lastReturnCode);
}

}  // namespace data
