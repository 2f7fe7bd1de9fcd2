#include "admin/foundation/DatabaseHandlerForProc.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/SqlTypes.h"

namespace admin {

CDatabaseHandlerForProc::~CDatabaseHandlerForProc() { m_buffers.Unbind(Statement()); }

QString CDatabaseHandlerForProc::GetFieldValue(int32_t row, int16_t column) {
  if (!HasColumn(column) || ColumnType(column) == ColumnKind::Unsupported) return {};
  const auto found = m_rowCache.find(row + 1);
  if (found == m_rowCache.end() || column >= found->second.size()) return {};
  return found->second.at(column);
}

bool CDatabaseHandlerForProc::MoveToRow(int32_t) { return true; }

bool CDatabaseHandlerForProc::FetchNext(int32_t) { return true; }

void CDatabaseHandlerForProc::BindColumns() { BindInto(&m_buffers, m_nBoundColumnCount); }

void CDatabaseHandlerForProc::UnbindColumns() { m_buffers.Unbind(Statement()); }

int CDatabaseHandlerForProc::ExecuteQuery(const CDatabseConnection& connection, const QString& callText) {
  m_rowCache.clear();
  m_nBoundColumnCount = 0;
  const int executed = ExecuteAndReadAll(connection.GetConnectionHandle(), callText, true, true, Rules(), &m_buffers,
                                         [this](int32_t row) { m_rowCache[row] = m_buffers.DisplayTexts(); });
  m_nBoundColumnCount = GetColumnCount();
  return executed;
}

}  // namespace admin
