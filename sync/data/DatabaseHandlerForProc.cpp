#include "sync/data/DatabaseHandlerForProc.h"

#include "sync/data/DatabseConnection.h"

namespace syncservice {

CDatabaseHandlerForProc::~CDatabaseHandlerForProc() { m_buffers.Unbind(Statement()); }

QString CDatabaseHandlerForProc::GetFieldValue(int32_t row, int16_t column) {
  const CachedRow* cached = FindRow(row);
  if (cached == nullptr || column < 0 || column >= cached->texts.size()) return {};
  return cached->texts.at(column);
}

const CDatabaseHandlerForProc::CachedRow* CDatabaseHandlerForProc::FindRow(int32_t row) const {
  const auto found = m_rowCache.find(row + 1);
  return found == m_rowCache.end() ? nullptr : &found->second;
}

int CDatabaseHandlerForProc::MoveToRow(int32_t) { return 1; }

void CDatabaseHandlerForProc::BindColumns() { BindColumnsTo(&m_buffers, ColumnKinds()); }

void CDatabaseHandlerForProc::UnbindColumns() { m_buffers.Unbind(Statement()); }

int CDatabaseHandlerForProc::ExecuteQuery(const CDatabseConnection& connection, const QString& callText) {
  m_rowCache.clear();
  return ExecuteAndReadAll(connection.GetConnectionHandle(), callText, !IsForwardOnly(), !IsForwardOnly(),
                           Rules(true, false), &m_buffers, [this](int32_t row) { m_rowCache[row] = ReadRow(row); });
}

CDatabaseHandlerForProc::CachedRow CDatabaseHandlerForProc::ReadRow(int32_t row) const {
  CachedRow cached;
  cached.texts = m_buffers.DisplayTexts();
  const std::optional<QByteArray> record = devicerecord::Encode(m_buffers.Values());
  if (record) {
    cached.record = *record;
  } else {
    WriteLog(-1, QStringLiteral("Row No. %1 is too long for a device record and is not sent.").arg(row));
  }
  cached.rowText = m_buffers.RowText();
  return cached;
}

}  // namespace syncservice
