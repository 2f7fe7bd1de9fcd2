#include "admin/foundation/CatalogColumns.h"

#include "platform/OdbcText.h"

#include <sqlext.h>

QString BoundCatalogTextValue(const SQLWCHAR* buffer, size_t units, SQLLEN indicator) {
  if (indicator == SQL_NULL_DATA) return {};
  return platform::FromSqlTextZ(buffer, static_cast<qsizetype>(units));
}
