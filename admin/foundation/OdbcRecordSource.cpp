#include "admin/foundation/OdbcRecordSource.h"

#include "admin/foundation/ColumnBuffers.h"
#include "admin/foundation/SqlTypes.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>

int16_t OdbcRecordSource::GetColumnCount() { return m_bOpen ? m_nColumnCount : 0; }

int32_t OdbcRecordSource::GetRowCount() { return m_bOpen ? m_nRowCount : 0; }

QString OdbcRecordSource::GetColumnName(int16_t column) {
  if (!m_statement || column < 0 || (m_bOpen && column >= m_nColumnCount)) return {};
  ColumnDescription description;
  return DescribeColumn(column, &description) ? description.name : QString();
}

bool OdbcRecordSource::DescribeColumn(int16_t column, ColumnDescription* description) {
  return SQL_SUCCEEDED(Track(DescribeResultColumn(Statement(), column, description)));
}

int16_t OdbcRecordSource::GetColumnType(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnTypes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcRecordSource::GetColumnSqlType(int16_t column) {
  ColumnDescription description;
  return m_bOpen && HasColumn(column) && DescribeColumn(column, &description) ? description.sqlType : int16_t{0};
}

int16_t OdbcRecordSource::GetColumnSize(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnSizes[static_cast<size_t>(column)] : 0;
}

int16_t OdbcRecordSource::GetColumnDecimalDigits(int16_t column) {
  return m_bOpen && HasColumn(column) ? m_columnDigits[static_cast<size_t>(column)] : 0;
}

void OdbcRecordSource::CloseStatement() {
  if (m_statement) SQLCloseCursor(Statement());
  m_statement.reset();
  m_bOpen = false;
  m_nColumnCount = 0;
  m_nRowCount = 0;
}

QString OdbcRecordSource::GetOdbcErrorText() const {
  return FormatOdbcDiagnostics(CurrentDiagnostic(), OdbcTextForm::SourceReport);
}

QString OdbcRecordSource::GetConnectFailureText() const {
  return FormatOdbcDiagnostics(CurrentDiagnostic(), OdbcTextForm::SourceConnectFailure);
}

OdbcDiagRecord OdbcRecordSource::CurrentDiagnostic() const {
  if (!m_statement) return m_lastFailure;
  return ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement());
}

bool OdbcRecordSource::OpenStatement(SQLHDBC connection, bool lockRows) {
  CloseStatement();
  m_lastFailure = {};
  m_statement = NewCursorStatement(connection, true, lockRows);
  if (!m_statement) {
    Track(SQL_ERROR);
    m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection);
  }
  return static_cast<bool>(m_statement);
}

void OdbcRecordSource::FailStatement() {
  m_lastFailure = ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement());
  CloseStatement();
}

bool OdbcRecordSource::DescribeColumns() {
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(Track(SQLNumResultCols(Statement(), &count)))) return false;
  m_nColumnCount = count;
  const size_t columns = static_cast<size_t>(std::max<SQLSMALLINT>(count, 0));
  m_columnTypes.assign(columns, ColumnKind::Unsupported);
  m_columnSizes.assign(columns, 0);
  m_columnDigits.assign(columns, 0);
  for (size_t i = 0; i < columns; ++i) {
    ColumnDescription description;
    if (!DescribeColumn(static_cast<int16_t>(i), &description)) break;
    m_columnSizes[i] = CapColumnSize(description.size);
    m_columnDigits[i] = description.digits;
    m_columnTypes[i] = MapSqlType(description.sqlType);
  }
  return true;
}

bool OdbcRecordSource::HasColumn(int16_t column) const {
  return column >= 0 && column < m_nColumnCount && static_cast<size_t>(column) < m_columnTypes.size();
}

std::vector<int16_t> OdbcRecordSource::ColumnKinds(int16_t count) const {
  const size_t wanted = std::min(static_cast<size_t>(std::max<int16_t>(count, 0)), m_columnTypes.size());
  return {m_columnTypes.begin(), m_columnTypes.begin() + static_cast<std::ptrdiff_t>(wanted)};
}

void OdbcRecordSource::BindInto(ColumnBuffers* buffers, int16_t count) {
  if (!m_statement) return;
  const SQLRETURN result = buffers->Bind(Statement(), ColumnKinds(count));
  if (!SQL_SUCCEEDED(result)) Track(result);
}
