#include "admin/foundation/DBHandlerForUserProfileDB.h"

#include "admin/foundation/SqlTypes.h"

#include <algorithm>

CDBHandlerForUserProfileDB::~CDBHandlerForUserProfileDB() { m_buffers.Unbind(Statement()); }

void CDBHandlerForUserProfileDB::BindColumns() { BindInto(&m_buffers, m_nBoundColumnCount); }

void CDBHandlerForUserProfileDB::UnbindColumns() { m_buffers.Unbind(Statement()); }

int CDBHandlerForUserProfileDB::ExecuteQuery(const admin::CDatabseConnection& connection, const QString& sql) {
  m_buffers.Unbind(Statement());
  m_nSupportedColumnCount = 0;
  const int result = admin::CDatabaseHandler::ExecuteQuery(connection, sql);
  m_nBoundColumnCount = GetColumnCount();
  if (result == 1) {
    const std::vector<int16_t> kinds = ColumnKinds(m_nBoundColumnCount);
    m_nSupportedColumnCount = static_cast<int16_t>(
        std::count_if(kinds.begin(), kinds.end(), [](int16_t kind) { return kind != ColumnKind::Unsupported; }));
  }
  return result;
}
