#include "admin/foundation/SettingsTransaction.h"

#include "admin/foundation/DatabseConnection.h"

#include <sqlext.h>

namespace {

bool SetAutoCommit(const admin::CDatabseConnection& connection, SQLULEN mode) {
  return SQL_SUCCEEDED(SQLSetConnectAttrW(connection.GetConnectionHandle(), SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(mode), SQL_IS_UINTEGER));
}

}  // namespace

SettingsTransaction::SettingsTransaction(admin::CDatabseConnection& connection) : m_connection(connection) {
  m_bOpen = connection.IsConnected() && SetAutoCommit(connection, SQL_AUTOCOMMIT_OFF);
}

SettingsTransaction::~SettingsTransaction() { End(SQL_ROLLBACK); }

bool SettingsTransaction::Commit() { return End(SQL_COMMIT); }

bool SettingsTransaction::End(short completion) {
  if (!m_bOpen) return false;
  m_bOpen = false;
  const bool ended = SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_connection.GetConnectionHandle(), completion));
  if (!ended) SQLEndTran(SQL_HANDLE_DBC, m_connection.GetConnectionHandle(), SQL_ROLLBACK);
  SetAutoCommit(m_connection, SQL_AUTOCOMMIT_ON);
  return ended;
}
