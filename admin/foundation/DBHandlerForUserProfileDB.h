#pragma once

#include "admin/foundation/ColumnBuffers.h"
#include "admin/foundation/DatabaseHandler.h"

// The query handler of a profile's own data source, able to bind every column of the query to
// buffers of its own.
class CDBHandlerForUserProfileDB : public admin::CDatabaseHandler {
 public:
  CDBHandlerForUserProfileDB() = default;
  ~CDBHandlerForUserProfileDB() override;

  void BindColumns() override;
  void UnbindColumns() override;
  int ExecuteQuery(const admin::CDatabseConnection& connection, const QString& sql) override;

  int16_t GetBoundColumnCount() const { return m_nBoundColumnCount; }
  // Columns of a kind other than unsupported, as the last successful execution found them.
  int16_t GetSupportedColumnCount() const { return m_nSupportedColumnCount; }
  size_t GetBoundBufferCount() const { return m_buffers.BufferCount(); }

 private:
  ColumnBuffers m_buffers;
  int16_t m_nBoundColumnCount = 0;
  int16_t m_nSupportedColumnCount = 0;
};
