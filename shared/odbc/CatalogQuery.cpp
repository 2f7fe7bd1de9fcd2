#include "shared/odbc/CatalogQuery.h"

#include "platform/odbc/OdbcText.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>

CatalogQuery::CatalogQuery(SQLHDBC connection, std::initializer_list<Column> columns, SQLRETURN* lastReturnCode)
    : m_connection(connection), m_statement(NewCursorStatement(connection)), m_lastReturnCode(lastReturnCode) {
  m_columns.reserve(columns.size());
  for (const Column& column : columns) {
    BoundColumn bound;
    bound.number = column.number;
    if (column.textUnits != kInteger) bound.text.assign(column.textUnits + 1, 0);
    m_columns.push_back(std::move(bound));
  }
}

bool CatalogQuery::Run(const std::function<SQLRETURN(SQLHSTMT)>& call) {
  if (!m_statement) {
    Track(SQL_ERROR);
    return false;
  }
  return SQL_SUCCEEDED(Track(call(m_statement.get()))) && BindColumns();
}

bool CatalogQuery::BindColumns() {
  for (BoundColumn& column : m_columns) {
    const SQLRETURN result =
        column.text.empty()
            ? SQLBindCol(m_statement.get(), column.number, SQL_C_SSHORT, &column.integer, sizeof column.integer,
                         &column.indicator)
            : SQLBindCol(m_statement.get(), column.number, SQL_C_WCHAR, column.text.data(),
                         static_cast<SQLLEN>(column.text.size() * sizeof(SQLWCHAR)), &column.indicator);
    if (!SQL_SUCCEEDED(Track(result))) return false;
  }
  return true;
}

bool CatalogQuery::Fetch() { return m_statement && SQL_SUCCEEDED(Track(SQLFetch(m_statement.get()))); }

int CatalogQuery::AppendTexts(SQLUSMALLINT column, QStringList* texts) {
  int count = 0;
  while (Fetch()) {
    texts->append(Text(column));
    ++count;
  }
  return count;
}

QString CatalogQuery::Text(SQLUSMALLINT column) const {
  const BoundColumn& bound = Find(column);
  if (bound.indicator == SQL_NULL_DATA || bound.text.empty()) return {};
  return platform::FromSqlTextZ(bound.text.data(), static_cast<qsizetype>(bound.text.size() - 1));
}

SQLSMALLINT CatalogQuery::Integer(SQLUSMALLINT column) const {
  const BoundColumn& bound = Find(column);
  return bound.indicator == SQL_NULL_DATA ? 0 : bound.integer;
}

OdbcDiagRecord CatalogQuery::Diagnostic() const {
  return m_statement ? ReadOdbcDiagRecord(SQL_HANDLE_STMT, m_statement.get())
                     : ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection);
}

const CatalogQuery::BoundColumn& CatalogQuery::Find(SQLUSMALLINT number) const {
  static const BoundColumn kUnbound;
  const auto found = std::find_if(m_columns.begin(), m_columns.end(),
                                  [number](const BoundColumn& column) { return column.number == number; });
  return found != m_columns.end() ? *found : kUnbound;
}

namespace keycolumns {

SQLRETURN LookUpSpecialColumns(SQLHSTMT statement, const QString& table) {
  return SQLSpecialColumnsW(statement, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, platform::SqlText(table), SQL_NTS,
                            SQL_SCOPE_CURROW, SQL_NO_NULLS);
}

SQLRETURN LookUpPrimaryKeys(SQLHSTMT statement, const QString& table) {
  return SQLPrimaryKeysW(statement, nullptr, 0, nullptr, 0, platform::SqlText(table), SQL_NTS);
}

}  // namespace keycolumns
