#pragma once

#include "admin/foundation/DBHandler.h"
#include "shared/data/CursorRecordSource.h"

#include <sql.h>

#include <vector>

class ColumnBuffers;

namespace admin {

// The administration program's ODBC record sources: columns described by its own kinds, where
// 64-bit integers are read as their decimal text.
class OdbcRecordSource : public data::CursorRecordSource<CDBHandler> {
 protected:
  // Closes what is open and makes the statement that the next execution runs on.
  // `lockRows` false opens a read-only cursor.
  bool OpenStatement(SQLHDBC connection, bool lockRows = true);
  // The columns described by the administration program's kinds.
  static ColumnRules Rules();
  // The kinds of the first `count` described columns.
  std::vector<int16_t> ColumnKinds(int16_t count) const;
  // Binds the first `count` columns of the open statement to `buffers`.
  void BindInto(ColumnBuffers* buffers, int16_t count);
};

}  // namespace admin
