#include "admin/foundation/DatabaseHandlerForProc.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/SqlTypes.h"

CDatabaseHandlerForProc::~CDatabaseHandlerForProc() {
  m_buffers.Unbind(Statement());
  CloseStatement();
}

QString CDatabaseHandlerForProc::GetFieldValue(int32_t row, int16_t column) {
  if (!HasColumn(column) || ColumnType(column) == ColumnKind::Unsupported) return {};
  const auto found = m_rowCache.find(row + 1);
  if (found == m_rowCache.end() || column >= found->second.size()) return {};
  return found->second.at(column);
}

int CDatabaseHandlerForProc::GetRowValues(int32_t, QByteArray*) { return 0; }

bool CDatabaseHandlerForProc::MoveToRow(int32_t) { return true; }

bool CDatabaseHandlerForProc::FetchNext(int32_t) { return true; }

void CDatabaseHandlerForProc::BindColumns() { BindInto(&m_buffers, m_nBoundColumnCount); }

void CDatabaseHandlerForProc::UnbindColumns() { m_buffers.Unbind(Statement()); }

int CDatabaseHandlerForProc::ExecuteQuery(const CDatabseConnection& connection, const QString& callText) {
  m_buffers.Unbind(Statement());
  m_rowCache.clear();
  m_nBoundColumnCount = 0;
  if (!OpenAndExecute(connection.GetConnectionHandle(), callText, true, true)) return 0;
  if (!OpenResult()) return 1;
  m_nBoundColumnCount = GetColumnCount();
  BindColumns();
  CacheRows();
  UnbindColumns();
  return 1;
}

void CDatabaseHandlerForProc::CacheRows() {
  FetchEveryRow([this](int32_t row) {
    QStringList texts;
    for (int16_t i = 0; i < m_nBoundColumnCount; ++i) texts.append(m_buffers.Text(static_cast<size_t>(i)));
    m_rowCache[row] = texts;
  });
}
