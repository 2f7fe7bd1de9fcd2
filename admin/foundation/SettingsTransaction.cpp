#include "admin/foundation/SettingsTransaction.h"

#include "admin/foundation/DatabseConnection.h"

#include <sqlext.h>

namespace {

bool SetAutoCommit(SQLHDBC connection, SQLULEN mode) {
  return SQL_SUCCEEDED(
      SQLSetConnectAttrW(connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(mode), SQL_IS_UINTEGER));
}

bool EndTransaction(SQLHDBC connection, SQLSMALLINT completion) {
  return SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection, completion));
}

}  // namespace

SettingsTransaction::SettingsTransaction(CDatabseConnection& connection) : m_connection(connection) {
  m_bOpen = m_connection.IsConnected() && SetAutoCommit(m_connection.GetConnectionHandle(), SQL_AUTOCOMMIT_OFF);
}

SettingsTransaction::~SettingsTransaction() {
  if (!m_bOpen) return;
  if (!m_bCommitted) EndTransaction(m_connection.GetConnectionHandle(), SQL_ROLLBACK);
  SetAutoCommit(m_connection.GetConnectionHandle(), SQL_AUTOCOMMIT_ON);
}

bool SettingsTransaction::Commit() {
  m_bCommitted = m_bOpen && EndTransaction(m_connection.GetConnectionHandle(), SQL_COMMIT);
  return m_bCommitted;
}
