#include "shared/data/SqlTypeKind.h"

#include "shared/odbc/ColumnKind.h"

#include <sqlext.h>

namespace data {

int16_t KindOfSqlType(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_GUID: return ColumnKind::Text;
    case SQL_NUMERIC:
    case SQL_DECIMAL: return ColumnKind::Numeric;
    case SQL_INTEGER: return ColumnKind::Int32;
    case SQL_SMALLINT: return ColumnKind::Int16;
    case SQL_REAL: return ColumnKind::Float;
    case SQL_FLOAT:
    case SQL_DOUBLE: return ColumnKind::Double;
    case SQL_DATE:
    case SQL_TYPE_DATE: return ColumnKind::Date;
    case SQL_TIME:
    case SQL_TYPE_TIME: return ColumnKind::Time;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return ColumnKind::Timestamp;
    case SQL_TINYINT: return ColumnKind::TinyInt;
    case SQL_BIT: return ColumnKind::Bit;
    default: return ColumnKind::Unsupported;
  }
}

}  // namespace data
