#include "shared/data/OdbcCursor.h"

#include "platform/odbc/OdbcText.h"
#include "shared/data/ColumnBinder.h"
#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/OdbcStatement.h"
#include "shared/odbc/ValueText.h"

#include <sqlext.h>

#include <algorithm>
#include <optional>

namespace data {

OdbcCursor::~OdbcCursor() { CloseStatement(); }

QString OdbcCursor::ColumnName(int16_t column) {
  ResultColumn description;
  return m_bOpen && HasColumn(column) && DescribeColumn(column, &description) ? description.name : QString();
}

int16_t OdbcCursor::ColumnType(int16_t column) const {
  return m_bOpen && HasColumn(column) ? m_columnTypes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcCursor::ColumnSize(int16_t column) const {
  return m_bOpen && HasColumn(column) ? m_columnSizes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcCursor::ColumnDecimalDigits(int16_t column) const {
  return m_bOpen && HasColumn(column) ? m_columnDigits[static_cast<size_t>(column)] : 0;
}

bool OdbcCursor::IsAutoNumber(int16_t column) const {
  return column >= 0 && static_cast<size_t>(column) < m_autoNumber.size() && m_autoNumber[static_cast<size_t>(column)];
}

int16_t OdbcCursor::GetColumnSqlType(int16_t column) {
  ResultColumn description;
  return m_bOpen && HasColumn(column) && DescribeColumn(column, &description) ? description.sqlType : int16_t{0};
}

int16_t OdbcCursor::GetSupportedColumnCount() const {
  return static_cast<int16_t>(std::count_if(m_columnTypes.begin(), m_columnTypes.end(),
                                            [](int16_t kind) { return kind != ColumnKind::Unsupported; }));
}

void OdbcCursor::CloseStatement() {
  if (m_statement) SQLCloseCursor(Statement());
  m_statement.reset();
  m_bOpen = false;
  m_nColumnCount = 0;
  m_nRowCount = 0;
  m_columnTypes.clear();
  m_autoNumber.clear();
}

QString OdbcCursor::GetOdbcErrorText() const {
  return FormatOdbcDiagnostics(CurrentDiagnostic(), OdbcTextForm::SourceReport);
}

QString OdbcCursor::GetConnectFailureText() const {
  return FormatOdbcDiagnostics(CurrentDiagnostic(), OdbcTextForm::SourceConnectFailure);
}

OdbcDiagRecord OdbcCursor::CurrentDiagnostic() const {
  if (!m_statement) return m_lastFailure;
  return ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement());
}

bool OdbcCursor::OpenStatement(SQLHDBC connection, bool dynamicCursor, bool lockRows) {
  CloseStatement();
  m_lastFailure = {};
  m_statement = NewCursorStatement(connection, dynamicCursor, lockRows);
  if (!m_statement) {
    Track(SQL_ERROR);
    m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection);
  }
  return static_cast<bool>(m_statement);
}

bool OdbcCursor::Prepare(const QString& sql) {
  return SQL_SUCCEEDED(Track(SQLPrepareW(Statement(), platform::SqlText(sql), SQL_NTS)));
}

bool OdbcCursor::Execute() { return SQL_SUCCEEDED(Track(SQLExecute(Statement()))); }

bool OdbcCursor::ExecuteDirect(const QString& sql) {
  return SQL_SUCCEEDED(Track(SQLExecDirectW(Statement(), platform::SqlText(sql), SQL_NTS)));
}

bool OdbcCursor::OpenAndExecute(SQLHDBC connection, const QString& sql, bool dynamicCursor, bool lockRows) {
  if (!OpenStatement(connection, dynamicCursor, lockRows)) return false;
  if (Prepare(sql) && Execute()) return true;
  FailStatement();
  return false;
}

int OdbcCursor::ExecuteAndReadAll(SQLHDBC connection, const QString& sql, bool dynamicCursor, bool lockRows,
                                  const ColumnRules& rules, ColumnBinder* binder,
                                  const std::function<void(int32_t row)>& onRow) {
  binder->Unbind(Statement());
  if (!OpenAndExecute(connection, sql, dynamicCursor, lockRows)) return 0;
  if (!OpenResult(rules)) return 1;
  BindColumnsTo(binder, m_columnTypes);
  FetchEveryRow(onRow);
  binder->Unbind(Statement());
  return 1;
}

void OdbcCursor::FailStatement() {
  m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement());
  CloseStatement();
}

bool OdbcCursor::OpenResult(const ColumnRules& rules) {
  m_bOpen = true;
  return DescribeColumns(rules);
}

bool OdbcCursor::DescribeColumn(int16_t column, ResultColumn* description) {
  return SQL_SUCCEEDED(Track(DescribeResultColumn(Statement(), column, description)));
}

bool OdbcCursor::DescribeColumns(const ColumnRules& rules) {
  SQLSMALLINT count = 0;
  const SQLRETURN result = Track(SQLNumResultCols(Statement(), &count));
  if (rules.countWithWarning ? !SQL_SUCCEEDED(result) : result != SQL_SUCCESS) return false;
  m_nColumnCount = count;
  const size_t columns = static_cast<size_t>(std::max<SQLSMALLINT>(count, 0));
  m_columnTypes.assign(columns, ColumnKind::Unsupported);
  m_columnSizes.assign(columns, 0);
  m_columnDigits.assign(columns, 0);
  m_autoNumber.assign(columns, false);
  for (size_t i = 0; i < columns; ++i) {
    ResultColumn description;
    const auto column = static_cast<int16_t>(i);
    if (!DescribeColumn(column, &description)) break;
    m_columnTypes[i] = rules.kindOf(description.sqlType);
    m_columnSizes[i] = CapColumnSize(description.size);
    m_columnDigits[i] = description.digits;
    if (rules.isAutoNumber) m_autoNumber[i] = rules.isAutoNumber(column, description.name);
  }
  return true;
}

bool OdbcCursor::CountRowsByQuery(SQLHDBC connection, const QString& sql) {
  const std::optional<int32_t> count = CountQueryRows(connection, sql, &m_nLastReturnCode);
  if (count) m_nRowCount = *count;
  return count.has_value();
}

void OdbcCursor::CountRowsByFetching() { m_nRowCount = ::CountRowsByFetching(Statement(), &m_nLastReturnCode); }

bool OdbcCursor::HasColumn(int16_t column) const {
  return column >= 0 && column < m_nColumnCount && static_cast<size_t>(column) < m_columnTypes.size();
}

bool OdbcCursor::Fetch(SQLSMALLINT orientation, SQLLEN offset) {
  return SQL_SUCCEEDED(Track(SQLFetchScroll(Statement(), orientation, offset)));
}

bool OdbcCursor::FetchAbsolute(int32_t row) { return Fetch(SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(row) + 1); }

void OdbcCursor::FetchEveryRow(const std::function<void(int32_t row)>& onRow) {
  int32_t row = 0;
  while (Fetch(SQL_FETCH_NEXT)) onRow(++row);
  m_nRowCount = row;
}

QString OdbcCursor::ReadFieldText(int16_t column, qsizetype bufferBytes) {
  const int16_t kind = m_columnTypes[static_cast<size_t>(column)];
  const SQLSMALLINT cType = CTypeOfKind(kind);
  std::vector<char> buffer(static_cast<size_t>(bufferBytes), 0);
  SQLLEN indicator = SQL_NULL_DATA;
  if (!SQL_SUCCEEDED(Track(SQLGetData(Statement(), static_cast<SQLUSMALLINT>(column + 1), cType, buffer.data(),
                                      bufferBytes, &indicator)))) {
    return {};
  }
  const SQLLEN length = cType == SQL_C_WCHAR ? WrittenLength(indicator, bufferBytes, 2) : indicator;
  return FormatFieldValue(buffer.data(), bufferBytes, length, kind);
}

void OdbcCursor::BindColumnsTo(ColumnBinder* binder, const std::vector<int16_t>& kinds) {
  if (!m_statement) return;
  const SQLRETURN result = binder->Bind(Statement(), kinds);
  if (!SQL_SUCCEEDED(result)) Track(result);
}

}  // namespace data
