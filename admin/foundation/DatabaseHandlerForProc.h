#pragma once

#include "admin/foundation/ColumnBuffers.h"
#include "admin/foundation/OdbcRecordSource.h"

#include <QStringList>

#include <map>

namespace admin {

class CDatabseConnection;

// The record source of a stored-procedure call: executing it fetches every result row once, as
// text, into a cache that all later reads answer from.
class CDatabaseHandlerForProc : public OdbcRecordSource {
 public:
  ~CDatabaseHandlerForProc() override;

  QString GetFieldValue(int32_t row, int16_t column) override;
  bool MoveToRow(int32_t row) override;
  bool FetchNext(int32_t row) override;
  void BindColumns() override;
  void UnbindColumns() override;

  // 1 when the call was prepared and executed, else 0 (nothing is shown or logged).
  virtual int ExecuteQuery(const CDatabseConnection& connection, const QString& callText);

  // The number of column buffers in use (none outside an execution).
  size_t GetBoundBufferCount() const { return m_buffers.BufferCount(); }

 private:
  ColumnBuffers m_buffers;
  int16_t m_nBoundColumnCount = 0;
  std::map<int32_t, QStringList> m_rowCache;  // row numbers from 1
};

}  // namespace admin
