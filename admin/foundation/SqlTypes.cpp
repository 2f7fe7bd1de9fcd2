#include "admin/foundation/SqlTypes.h"

#include "shared/data/SqlTypeKind.h"

#include <sqlext.h>

int16_t MapSqlType(SQLSMALLINT sqlType) {
  // The integer C type codes count as column types too.
  switch (sqlType) {
    case SQL_C_SLONG: return ColumnKind::Int32;
    case SQL_C_SSHORT: return ColumnKind::Int16;
    case SQL_C_UTINYINT: return ColumnKind::TinyInt;
    case SQL_C_STINYINT:
    case SQL_C_ULONG:
    case SQL_C_USHORT: return sqlType;
    case SQL_BIGINT: return ColumnKind::BigInt;
    default: return data::KindOfSqlType(sqlType);
  }
}

QString GetSqlTypeName(int code) {
  switch (code) {
    case SQL_CHAR: return QStringLiteral("SQL_CHAR");
    case SQL_NUMERIC:
    case SQL_DECIMAL: return QStringLiteral("SQL_NUMERIC");
    case SQL_INTEGER:
    case SQL_C_SLONG: return QStringLiteral("SQL_INTEGER");
    case SQL_SMALLINT:
    case SQL_C_SSHORT: return QStringLiteral("SQL_SMALLINT");
    case SQL_FLOAT:
    case SQL_DOUBLE: return QStringLiteral("SQL_DOUBLE");
    case SQL_REAL: return QStringLiteral("SQL_REAL");
    case SQL_DATE:
    case SQL_TYPE_DATE: return QStringLiteral("SQL_DATE");
    case SQL_TIME:
    case SQL_TYPE_TIME: return QStringLiteral("SQL_TIME");
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return QStringLiteral("SQL_TIMESTAMP");
    case SQL_VARCHAR: return QStringLiteral("SQL_VARCHAR");
    case SQL_TINYINT:
    case SQL_C_UTINYINT: return QStringLiteral("SQL_TINYINT");
    case SQL_C_STINYINT: return QStringLiteral("SQL_C_STINYINT");
    case SQL_C_ULONG: return QStringLiteral("SQL_C_ULONG");
    case SQL_C_USHORT: return QStringLiteral("SQL_C_USHORT");
    case SQL_GUID: return QStringLiteral("SQL_GUID");
    case SQL_WLONGVARCHAR: return QStringLiteral("SQL_WLONGVARCHAR");
    case SQL_WVARCHAR: return QStringLiteral("SQL_WVARCHAR");
    case SQL_WCHAR: return QStringLiteral("SQL_WCHAR");
    case SQL_BIT: return QStringLiteral("SQL_BIT");
    case SQL_LONGVARCHAR: return QStringLiteral("SQL_LONGVARCHAR");
    case SQL_BIGINT: return QStringLiteral("SQL_BIGINT");
    default: return QStringLiteral("SQL_UNKNOWN_TYPE");
  }
}

QString GetParamTypeName(int kind) {
  switch (kind) {
    case SQL_PARAM_INPUT: return QStringLiteral("INPUT");
    case SQL_PARAM_INPUT_OUTPUT: return QStringLiteral("INPUT_OUTPUT");
    case SQL_RESULT_COL: return QStringLiteral("RESULT_COL");
    case SQL_PARAM_OUTPUT: return QStringLiteral("OUTPUT");
    case SQL_RETURN_VALUE: return QStringLiteral("RETURN_VALUE");
    default: return QStringLiteral("TYPE_UNKNOWN");
  }
}
