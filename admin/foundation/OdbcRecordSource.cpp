#include "admin/foundation/OdbcRecordSource.h"

#include "admin/foundation/ColumnBuffers.h"
#include "admin/foundation/SqlTypes.h"

#include <algorithm>

namespace admin {

bool OdbcRecordSource::OpenStatement(SQLHDBC connection, bool lockRows) {
  return data::OdbcCursor::OpenStatement(connection, true, lockRows);
}

data::OdbcCursor::ColumnRules OdbcRecordSource::Rules() {
  ColumnRules rules;
  rules.kindOf = [](SQLSMALLINT sqlType) { return MapSqlType(sqlType); };
  return rules;
}

std::vector<int16_t> OdbcRecordSource::ColumnKinds(int16_t count) const {
  const std::vector<int16_t>& kinds = data::OdbcCursor::ColumnKinds();
  const size_t wanted = std::min(static_cast<size_t>(std::max<int16_t>(count, 0)), kinds.size());
  return {kinds.begin(), kinds.begin() + static_cast<std::ptrdiff_t>(wanted)};
}

void OdbcRecordSource::BindInto(ColumnBuffers* buffers, int16_t count) { BindColumnsTo(buffers, ColumnKinds(count)); }

}  // namespace admin
