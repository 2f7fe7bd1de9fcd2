#pragma once

#include <sql.h>

#include <QString>

#include <cstdint>
#include <optional>

// What both programs' record sources do on the result of a query: describe a column, count the
// rows, and take a fetched value no further than its buffer.

struct ResultColumn {
  QString name;
  SQLSMALLINT sqlType = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
};

// SQLDescribeColW of the zero-based `column`, its name read up to 255 characters.
SQLRETURN DescribeResultColumn(SQLHSTMT statement, int16_t column, ResultColumn* description);

// The rows of `sql` by "SELECT COUNT(*) FROM (sql) SQLRecordCountTb" on a statement of its own,
// first with the record sources' cursor and then, when that gives less than SQL_SUCCESS, with
// lock concurrency alone; nothing when neither counts. `lastReturnCode` gets each call's result.
std::optional<int32_t> CountQueryRows(SQLHDBC connection, const QString& sql, SQLRETURN* lastReturnCode);

// Counts the rows of the open cursor by fetching first, then next, while a fetch answers exactly
// SQL_SUCCESS.
int32_t CountRowsByFetching(SQLHSTMT statement, SQLRETURN* lastReturnCode);

// The bytes a fetch left in a buffer of `capacity` bytes: the indicator holds the whole length
// when the value was cut (or SQL_NO_TOTAL when unknown), so never more than the buffer minus the
// terminator of `terminatorBytes` is taken. SQL_NULL_DATA stays as it is.
SQLLEN WrittenLength(SQLLEN indicator, qsizetype capacity, qsizetype terminatorBytes);
