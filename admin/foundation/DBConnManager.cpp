#include "admin/foundation/DBConnManager.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileSources.h"
#include "platform/widgets/WaitCursor.h"

namespace {

constexpr int kFetchFailureLogCode = 92;

// The wizard opens every kind from .xlsx up as a workbook, except FileMaker.
bool IsWorkbookSourceKind(uint8_t kind) {
  return kind >= CDatabseConnection::kXlsx && kind != CDatabseConnection::kFileMaker;
}

}  // namespace

int CDBConnManager::ConnectByType(const QString& pathOrName, const QString& user, const QString& password,
                                  QString* error, uint8_t kind) {
  const platform::WaitCursor waitCursor;
  CloseConnection(IsWorkbookSourceKind(kind));
  if (m_bWorkbook) return ConnectWorkbook(pathOrName, error);
  const QString dataSourceName =
      kind == CDatabseConnection::kFileMaker ? CDatabseConnection::FileMakerDataSourceName() : kProfileDataSourceName;
  const auto asKind = static_cast<CDatabseConnection::SourceKind>(kind);
  m_bConnected = m_connection.ConnectDataSource(dataSourceName, asKind, pathOrName, user, password, error, true) == 1;
  if (kind == CDatabseConnection::kNamedDataSource && CDatabseConnection::IsMySqlDataSource(pathOrName)) {
    m_handler.SetWholeTextFlag(true);
  }
  return m_bConnected ? 1 : 0;
}

int CDBConnManager::FetchContents(QString* error, const QString& queryOrSheet) {
  if (m_bConnected) {
    m_bExecuted = m_handler.ExecuteQuery(m_connection, queryOrSheet) == 1;
    m_nRowCount = m_handler.GetRowCount();
  }
  if (error != nullptr && !m_bExecuted) {
    *error = m_bConnected && !m_bWorkbook ? m_handler.GetOdbcErrorText() : kUnableToFetchContents;
    WriteAppLog(kFetchFailureLogCode, *error);
  }
  return m_bExecuted ? 1 : 0;
}

CDBHandler* CDBConnManager::GetActiveHandler() {
  if (!m_bConnected || !m_bExecuted) return nullptr;
  return &m_handler;
}

void CDBConnManager::CloseConnection(bool nextWorkbookFlag) {
  m_handler.CloseStatement();
  if (m_connection.IsConnected()) m_connection.DisconnectDataSource();
  m_bConnected = false;
  m_bExecuted = false;
  m_nRowCount = 0;
  m_bWorkbook = nextWorkbookFlag;
}

int CDBConnManager::ConnectWorkbook(const QString&, QString* error) {
  if (error != nullptr) *error = QStringLiteral("Unable To Connect");
  return 0;
}
