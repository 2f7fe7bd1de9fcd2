#pragma once

#include "sync/data/OdbcRecordSource.h"

#include <QStringList>

namespace syncservice {

class CDatabseConnection;

// The sync program's record source of one SELECT query: executes it, describes its columns and
// which of them the database numbers itself (AutoNumber), counts its rows and reads the value of
// a column on the current cursor row as text.
class CDatabaseHandler : public syncservice::OdbcRecordSource {
 public:
  // The current cursor row's value (`row` is not used; MoveToRow or FetchNext position it).
  QString GetFieldValue(int32_t row, int16_t column) override;
  int MoveToRow(int32_t row) override;
  void BindColumns() override {}
  void UnbindColumns() override {}

  // 1 when the query was prepared and executed, else 0 (the reason in GetOdbcErrorText()).
  virtual int ExecuteQuery(const CDatabseConnection& connection, const QString& sql);
  // The first row when `next` is 0, else the next one; 1 on success.
  virtual int FetchNext(int32_t next);

  int IsAutoNumberColumn(int16_t column) const;
  // Row-identifier and primary-key column names of the whole table name; each answers the count
  // appended. A failed catalog call is logged.
  int GetSpecialColumnList(const CDatabseConnection& connection, const QString& table, QStringList* names) const;
  int GetPrimaryKeyList(const CDatabseConnection& connection, const QString& table, QStringList* names) const;

 private:
  static constexpr qsizetype kValueBufferBytes = 32765;
};

}  // namespace syncservice
