#include "admin/foundation/DBConnManagerForProc.h"

#include "admin/foundation/ProfileSources.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/data/SourceKinds.h"
#include "shared/odbc/OdbcConnect.h"

int CDBConnManagerForProc::ConnectByType(const QString& dataSourceName, const QString& user,
                                         const QString& password, QString* error) {
  CloseConnection();
  m_bConnected = m_connection.ConnectDataSource(datasources::kAdminProfile, sourcekind::kNamedDataSource,
                                                dataSourceName, user, password, error, true) == 1;
  return m_bConnected ? 1 : 0;
}

int CDBConnManagerForProc::FetchContents(QString* error, const QString& callText) {
  if (m_bConnected) {
    m_bExecuted = m_handler.ExecuteQuery(m_connection, callText) == 1;
    m_nRowCount = m_handler.GetRowCount();
  }
  if (error != nullptr && !m_bExecuted) {
    *error = m_bConnected ? m_handler.GetOdbcErrorText() : kUnableToFetchContents;
  }
  return m_bExecuted ? 1 : 0;
}

int CDBConnManagerForProc::GetColumnInfoList(QStringList* names, QList<int16_t>* types) {
  const int16_t count = m_handler.GetColumnCount();
  for (int16_t column = 0; column < count; ++column) {
    names->append(m_handler.GetColumnName(column));
    types->append(m_handler.GetColumnType(column));
  }
  return count;
}

void CDBConnManagerForProc::CloseConnection() {
  m_handler.CloseStatement();
  if (m_connection.IsConnected()) m_connection.DisconnectDataSource();
  m_bConnected = false;
  m_bExecuted = false;
  m_nRowCount = 0;
}

admin::CDBHandler* CDBConnManagerForProc::GetActiveHandler() { return m_bConnected && m_bExecuted ? &m_handler : nullptr; }

QString CDBConnManagerForProc::GetDbmsName() const {
  return m_bConnected ? ::GetDbmsName(m_connection.GetConnectionHandle()) : QString();
}

void CDBConnManagerForProc::CloseStatement() {
  m_handler.CloseStatement();
  m_bExecuted = false;
  m_nRowCount = 0;
}
