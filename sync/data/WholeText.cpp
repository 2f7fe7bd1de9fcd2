#include "sync/data/WholeText.h"

#include "platform/odbc/OdbcText.h"
#include "shared/odbc/QueryResult.h"

#include <sqlext.h>

#include <vector>

namespace syncservice {

QString ReadWholeText(SQLHSTMT statement, SQLUSMALLINT column, SQLRETURN* lastReturnCode) {
  constexpr SQLLEN kChunkBytes = 65536;
  std::vector<SQLWCHAR> chunk(static_cast<size_t>(kChunkBytes) / sizeof(SQLWCHAR));
  QString text;
  for (;;) {
    SQLLEN indicator = SQL_NULL_DATA;
    const SQLRETURN result = SQLGetData(statement, column, SQL_C_WCHAR, chunk.data(), kChunkBytes, &indicator);
    *lastReturnCode = result;
    if (!SQL_SUCCEEDED(result) || indicator == SQL_NULL_DATA) break;
    const SQLLEN bytes = WrittenLength(indicator, kChunkBytes, sizeof(SQLWCHAR));
    text += platform::FromSqlText(chunk.data(), static_cast<qsizetype>(bytes / 2));
    if (result == SQL_SUCCESS) break;
  }
  return text;
}

}  // namespace syncservice
