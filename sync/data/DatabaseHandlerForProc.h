#pragma once

#include "sync/data/BoundColumns.h"
#include "sync/data/OdbcRecordSource.h"

#include <QByteArray>
#include <QStringList>

#include <map>

namespace syncservice {

class CDatabseConnection;

// The sync program's record source of a stored-procedure call: executing it fetches every result
// row once into a cache of value texts, device records and row texts that all later reads
// answer from.
class CDatabaseHandlerForProc : public syncservice::OdbcRecordSource {
 public:
  ~CDatabaseHandlerForProc() override;

  QString GetFieldValue(int32_t row, int16_t column) override;
  int MoveToRow(int32_t row) override;
  void BindColumns() override;
  void UnbindColumns() override;

  // 1 when the call was prepared and executed, else 0.
  virtual int ExecuteQuery(const CDatabseConnection& connection, const QString& callText);

 protected:
  struct CachedRow {
    QStringList texts;
    QByteArray record;  // empty when the row cannot travel
    QString rowText;
  };
  // The cached row of zero-based `row`; nothing when there is none.
  const CachedRow* FindRow(int32_t row) const;

 private:
  CachedRow ReadRow(int32_t row) const;

  syncservice::BoundColumns m_buffers;
  std::map<int32_t, CachedRow> m_rowCache;  // row numbers from 1
};

}  // namespace syncservice
