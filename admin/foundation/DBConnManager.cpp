#include "admin/foundation/DBConnManager.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileSources.h"
#include "shared/data/SourceKinds.h"

namespace {

constexpr int kFetchFailureLogCode = 92;

// The wizard opens every kind from .xlsx up as a workbook, except FileMaker.
bool IsWorkbookSourceKind(uint8_t kind) {
  return kind >= sourcekind::kXlsx && kind != sourcekind::kFileMaker;
}

}  // namespace

int CDBConnManager::ConnectByType(const QString& pathOrName, const QString& user, const QString& password,
                                  QString* error, uint8_t kind) {
  CloseConnection(IsWorkbookSourceKind(kind));
  m_bConnected = m_bWorkbook ? m_excelConnection.OpenWorkbook(error, true, pathOrName) == 1
                             : ConnectOdbcSource(pathOrName, user, password, error, kind) == 1;
  return m_bConnected ? 1 : 0;
}

int CDBConnManager::ConnectOdbcSource(const QString& pathOrName, const QString& user, const QString& password,
                                      QString* error, uint8_t kind) {
  const int connected =
      m_connection.ConnectDataSource(DataSourceNameOfKind(kind), kind,
                                     pathOrName, user, password, error, true);
  if (kind == sourcekind::kNamedDataSource && admin::CDatabseConnection::IsMySqlDataSource(pathOrName)) {
    m_handler.SetWholeTextFlag(true);
  }
  return connected;
}

int CDBConnManager::FetchContents(QString* error, const QString& queryOrSheet) {
  if (m_bConnected) m_bExecuted = m_bWorkbook ? FetchSheet(queryOrSheet) : FetchQuery(queryOrSheet);
  if (error != nullptr && !m_bExecuted) {
    *error = m_bConnected && !m_bWorkbook ? m_handler.GetOdbcErrorText() : kUnableToFetchContents;
    WriteAppLog(kFetchFailureLogCode, *error);
  }
  return m_bExecuted ? 1 : 0;
}

bool CDBConnManager::FetchSheet(const QString& name) {
  const bool found = m_excelHandler.OpenWorksheet(m_excelConnection.GetWorksheetsDriver(), name) == 1;
  m_nRowCount = found ? m_excelHandler.GetRowCount() : 0;
  return found;
}

bool CDBConnManager::FetchQuery(const QString& query) {
  const bool executed = m_handler.ExecuteQuery(m_connection, query) == 1;
  m_nRowCount = m_handler.GetRowCount();
  return executed;
}

admin::CDBHandler* CDBConnManager::GetActiveHandler() {
  if (!m_bConnected || !m_bExecuted) return nullptr;
  if (m_bWorkbook) return &m_excelHandler;
  return &m_handler;
}

void CDBConnManager::CloseConnection(bool nextWorkbookFlag) {
  // A detached handler lets go of the worksheets, which keep the workbook alive.
  m_excelHandler = admin::CExcelHandler();
  m_excelConnection.CloseWorkbook();
  m_handler.CloseStatement();
  if (m_connection.IsConnected()) m_connection.DisconnectDataSource();
  m_bConnected = false;
  m_bExecuted = false;
  m_nRowCount = 0;
  m_bWorkbook = nextWorkbookFlag;
}
