#pragma once

#include "shared/odbc/ColumnKind.h"

#include <sql.h>

#include <QString>

#include <cstdint>

// The kind of a column whose driver reports `sqlType`.
int16_t MapSqlType(SQLSMALLINT sqlType);

// Names for the lists shown to the user.
QString GetSqlTypeName(int code);
QString GetParamTypeName(int kind);
