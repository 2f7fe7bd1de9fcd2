#include "sync/data/RowWriter.h"

#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcText.h"
#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/ValueText.h"
#include "sync/data/BoundColumns.h"

#include <sqlext.h>

#include <array>
#include <cstring>
#include <memory>

namespace syncservice {

// One bound parameter: the value in the C form of its kind, kept alive until the statement ran.
struct RowWriter::Parameter {
  SQLSMALLINT cType = 0;
  SQLSMALLINT sqlType = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  bool wide = false;
  QString text;
  std::array<char, 16> fixed{};
  SQLLEN indicator = 0;

  static Parameter Of(const WriteColumn& column, const devicerecord::Value& value);
  SQLPOINTER Data() { return wide ? static_cast<SQLPOINTER>(text.data()) : fixed.data(); }
  SQLLEN BufferLength() const { return wide ? 2 * text.size() : static_cast<SQLLEN>(fixed.size()); }
  SQLRETURN BindTo(SQLHSTMT statement, size_t index) {
    return SQLBindParameter(statement, static_cast<SQLUSMALLINT>(index + 1), SQL_PARAM_INPUT, cType, sqlType, size,
                            digits, Data(), BufferLength(), &indicator);
  }
};

namespace {

template <typename T>
void Store(std::array<char, 16>* fixed, T value) {
  std::memcpy(fixed->data(), &value, sizeof(T));
}

bool IsText(int16_t kind) { return kind == ColumnKind::Text || kind == ColumnKind::Numeric; }

// A value the database numbers itself when a device sends it empty.
bool IsUnset(const devicerecord::Value& value) {
  if (value.isNull) return true;
  return IsText(value.kind) ? value.text.isEmpty() : value.integer == 0 && value.real == 0;
}

void SetTimestamp(std::array<char, 16>* fixed, int16_t kind, const devicerecord::Timestamp& t) {
  if (kind == ColumnKind::Date) {
    Store(fixed, DATE_STRUCT{t.year, t.month, t.day});
  } else if (kind == ColumnKind::Time) {
    Store(fixed, TIME_STRUCT{t.hour, t.minute, t.second});
  } else {
    Store(fixed, TIMESTAMP_STRUCT{t.year, t.month, t.day, t.hour, t.minute, t.second, t.fraction});
  }
}

// The encoded form of a value, the form in which a device holds it.
QByteArray Encoded(const devicerecord::Value& value) { return devicerecord::Encode({value}).value_or(QByteArray()); }

}  // namespace

RowWriter::Parameter RowWriter::Parameter::Of(const WriteColumn& column, const devicerecord::Value& value) {
  Parameter p;
  switch (column.kind) {
    case ColumnKind::Text:
      p.cType = SQL_C_WCHAR;
      p.sqlType = SQL_WVARCHAR;
      p.wide = true;
      p.text = value.text;
      p.size = static_cast<SQLULEN>(std::max<qsizetype>(p.text.size(), 1));
      p.indicator = 2 * p.text.size();
      break;
    case ColumnKind::Numeric:
      p.cType = SQL_C_WCHAR;
      p.sqlType = SQL_DECIMAL;
      p.wide = true;
      p.text = NormaliseDecimalText(value.text);
      p.size = static_cast<SQLULEN>(std::max<int16_t>(column.size, 1));
      p.digits = column.digits;
      p.indicator = 2 * p.text.size();
      break;
    case ColumnKind::Int32: p.cType = SQL_C_SLONG; p.sqlType = SQL_INTEGER; Store(&p.fixed, value.integer); break;
    case ColumnKind::Int16:
      p.cType = SQL_C_SSHORT;
      p.sqlType = SQL_SMALLINT;
      Store(&p.fixed, static_cast<int16_t>(value.integer));
      break;
    case ColumnKind::TinyInt:
      p.cType = SQL_C_SSHORT;
      p.sqlType = SQL_SMALLINT;
      Store(&p.fixed, static_cast<int16_t>(value.integer & 0xFF));
      break;
    case ColumnKind::Bit:
      p.cType = SQL_C_BIT;
      p.sqlType = SQL_BIT;
      Store(&p.fixed, static_cast<uint8_t>(value.integer != 0 ? 1 : 0));
      break;
    case ColumnKind::Float:
      p.cType = SQL_C_FLOAT;
      p.sqlType = SQL_REAL;
      Store(&p.fixed, static_cast<float>(value.real));
      break;
    case ColumnKind::Double: p.cType = SQL_C_DOUBLE; p.sqlType = SQL_DOUBLE; Store(&p.fixed, value.real); break;
    case ColumnKind::Date: p.cType = SQL_C_TYPE_DATE; p.sqlType = SQL_TYPE_DATE; p.size = 10; break;
    case ColumnKind::Time: p.cType = SQL_C_TYPE_TIME; p.sqlType = SQL_TYPE_TIME; p.size = 8; break;
    default:
      p.cType = SQL_C_TYPE_TIMESTAMP;
      p.sqlType = SQL_TYPE_TIMESTAMP;
      p.size = value.timestamp.fraction == 0 ? 19 : 29;
      p.digits = value.timestamp.fraction == 0 ? 0 : 9;
      break;
  }
  if (column.kind == ColumnKind::Date || column.kind == ColumnKind::Time || column.kind == ColumnKind::Timestamp) {
    SetTimestamp(&p.fixed, column.kind, value.timestamp);
  }
  if (!IsText(column.kind)) p.indicator = 0;
  if (value.isNull) p.indicator = SQL_NULL_DATA;
  return p;
}

RowWriter::RowWriter(SQLHDBC connection, QString table, QString query, std::vector<WriteColumn> columns,
                     std::vector<int16_t> resultKinds)
    : m_connection(connection),
      m_table(std::move(table)),
      m_query(std::move(query)),
      m_columns(std::move(columns)),
      m_resultKinds(std::move(resultKinds)) {
  std::array<SQLWCHAR, 8> quote{};
  SQLSMALLINT length = 0;
  if (SQL_SUCCEEDED(SQLGetInfoW(m_connection, SQL_IDENTIFIER_QUOTE_CHAR, quote.data(),
                                static_cast<SQLSMALLINT>(sizeof quote), &length))) {
    m_quote = platform::FromSqlTextZ(quote.data(), static_cast<qsizetype>(quote.size())).trimmed();
  }
}

QString RowWriter::Quoted(const QString& name) const {
  if (m_quote.isEmpty()) return name;
  return m_quote + QString(name).replace(m_quote, m_quote + m_quote) + m_quote;
}

SQLLEN RowWriter::Execute(const QString& sql, std::vector<Parameter>* parameters, QString* error) const {
  platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, m_connection);
  if (!statement) {
    *error = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection), OdbcTextForm::Diagnostic);
    return -1;
  }
  SQLRETURN result = SQLPrepareW(statement.get(), platform::SqlText(sql), SQL_NTS);
  for (size_t i = 0; SQL_SUCCEEDED(result) && i < parameters->size(); ++i) result = (*parameters)[i].BindTo(statement.get(), i);
  if (SQL_SUCCEEDED(result)) result = SQLExecute(statement.get());
  if (!SQL_SUCCEEDED(result) && result != SQL_NO_DATA) {
    *error = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get()), OdbcTextForm::Diagnostic);
    return -1;
  }
  SQLLEN rows = 0;
  if (result == SQL_NO_DATA || !SQL_SUCCEEDED(SQLRowCount(statement.get(), &rows))) rows = 0;
  return rows;
}

bool RowWriter::ByKey() const {
  return std::any_of(m_columns.begin(), m_columns.end(), [](const WriteColumn& c) { return c.key; });
}

QString RowWriter::Where(const QList<devicerecord::Value>& values, std::vector<Parameter>* parameters) const {
  const bool byKey = ByKey();
  QStringList conditions;
  for (size_t i = 0; i < m_columns.size() && static_cast<qsizetype>(i) < values.size(); ++i) {
    const WriteColumn& column = m_columns[i];
    if (byKey && !column.key) continue;
    const devicerecord::Value& value = values.at(static_cast<qsizetype>(i));
    if (value.isNull) {
      conditions.append(Quoted(column.name) + QStringLiteral(" IS NULL"));
      continue;
    }
    conditions.append(Quoted(column.name) + QStringLiteral(" = ?"));
    parameters->push_back(Parameter::Of(column, value));
  }
  return conditions.join(QStringLiteral(" AND "));
}

bool RowWriter::Insert(const QList<devicerecord::Value>& values, uint8_t digest[kRowDigestSize], QString* error,
                       QList<devicerecord::Value>* stored) {
  QStringList names;
  QStringList marks;
  std::vector<Parameter> parameters;
  std::optional<size_t> generated;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    const devicerecord::Value& value = values.at(static_cast<qsizetype>(i));
    if (m_columns[i].autoNumber && IsUnset(value)) {
      generated = i;
      continue;
    }
    names.append(Quoted(m_columns[i].name));
    marks.append(QStringLiteral("?"));
    parameters.push_back(Parameter::Of(m_columns[i], value));
  }
  const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(Quoted(m_table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
  if (Execute(sql, &parameters, error) < 0) return false;
  if (generated) return ReadBackInserted(*generated, digest, error, stored);
  return ReadStored(values, digest, error, stored);
}

bool RowWriter::Writes(size_t column, const QList<devicerecord::Value>& changes,
                       const QList<devicerecord::Value>& values, bool writeAutoNumber) const {
  const auto at = static_cast<qsizetype>(column);
  if (m_columns[column].autoNumber && !writeAutoNumber) return false;
  // A value the device left as it was sent keeps the desktop's, which the device holds only in
  // its lossy form.
  return Encoded(changes.at(at)) != Encoded(values.at(at));
}

QList<devicerecord::Value> RowWriter::Merged(const QList<devicerecord::Value>& changes,
                                             const QList<devicerecord::Value>& values, bool writeAutoNumber) const {
  QList<devicerecord::Value> merged = values;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (Writes(i, changes, values, writeAutoNumber)) merged[static_cast<qsizetype>(i)] = changes.at(static_cast<qsizetype>(i));
  }
  return merged;
}

bool RowWriter::Update(const QList<devicerecord::Value>& values, const QList<devicerecord::Value>& current,
                       bool writeAutoNumber, uint8_t digest[kRowDigestSize], QString* error,
                       QList<devicerecord::Value>* stored) {
  QStringList assignments;
  std::vector<Parameter> parameters;
  for (size_t i = 0; i < m_columns.size(); ++i) {
    if (!Writes(i, values, current, writeAutoNumber)) continue;
    assignments.append(Quoted(m_columns[i].name) + QStringLiteral(" = ?"));
    parameters.push_back(Parameter::Of(m_columns[i], values.at(static_cast<qsizetype>(i))));
  }
  if (!assignments.isEmpty()) {
    const QString where = Where(current, &parameters);
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(Quoted(m_table), assignments.join(QStringLiteral(", ")), where);
    const SQLLEN rows = Execute(sql, &parameters, error);
    if (rows < 0) return false;
    if (rows == 0) {
      *error = QStringLiteral("The row is no longer in the database.");
      return false;
    }
  }
  return ReadStored(Merged(values, current, writeAutoNumber), digest, error, stored);
}

bool RowWriter::ReadStored(const QList<devicerecord::Value>& values, uint8_t digest[kRowDigestSize], QString* error,
                           QList<devicerecord::Value>* stored) const {
  std::vector<Parameter> parameters;
  const QString where = Where(values, &parameters);
  return ReadBack(where, &parameters, digest, error, stored);
}

bool RowWriter::Delete(const QList<devicerecord::Value>& current, QString* error) {
  std::vector<Parameter> parameters;
  const QString where = Where(current, &parameters);
  const SQLLEN rows = Execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(Quoted(m_table), where), &parameters, error);
  if (rows == 0) *error = QStringLiteral("The row is no longer in the database.");
  return rows > 0;
}

bool RowWriter::ReadBackInserted(size_t autoColumn, uint8_t digest[kRowDigestSize], QString* error,
                                 QList<devicerecord::Value>* stored) const {
  const QString dbms = GetDbmsName(m_connection);
  QString lastId;
  if (dbms.contains(u"SQLite", Qt::CaseInsensitive)) lastId = QStringLiteral("SELECT last_insert_rowid()");
  if (dbms.contains(u"PostgreSQL", Qt::CaseInsensitive)) lastId = QStringLiteral("SELECT lastval()");
  if (IsMySqlDriver(dbms)) lastId = QStringLiteral("SELECT LAST_INSERT_ID()");
  platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, m_connection);
  SQLINTEGER id = 0;
  SQLLEN indicator = SQL_NULL_DATA;
  if (lastId.isEmpty() || !statement ||
      !SQL_SUCCEEDED(SQLExecDirectW(statement.get(), platform::SqlText(lastId), SQL_NTS)) ||
      !SQL_SUCCEEDED(SQLBindCol(statement.get(), 1, SQL_C_SLONG, &id, sizeof id, &indicator)) ||
      !SQL_SUCCEEDED(SQLFetch(statement.get())) || indicator == SQL_NULL_DATA) {
    *error = QStringLiteral("The row was added, but the number the database gave it cannot be read.");
    return false;
  }
  std::vector<Parameter> parameters{
      Parameter::Of(m_columns[autoColumn], devicerecord::Value::OfInteger(ColumnKind::Int32, id))};
  return ReadBack(Quoted(m_columns[autoColumn].name) + QStringLiteral(" = ?"), &parameters, digest, error, stored);
}

bool RowWriter::ReadBack(const QString& where, std::vector<Parameter>* parameters, uint8_t digest[kRowDigestSize],
                         QString* error, QList<devicerecord::Value>* stored) const {
  platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, m_connection);
  const QString sql = QStringLiteral("SELECT * FROM (") + m_query + QStringLiteral(") SQLRecordRowTb WHERE ") + where;
  SQLRETURN result = statement ? SQLPrepareW(statement.get(), platform::SqlText(sql), SQL_NTS) : SQL_ERROR;
  for (size_t i = 0; SQL_SUCCEEDED(result) && i < parameters->size(); ++i) result = (*parameters)[i].BindTo(statement.get(), i);
  if (SQL_SUCCEEDED(result)) result = SQLExecute(statement.get());
  SQLSMALLINT count = 0;
  if (SQL_SUCCEEDED(result)) result = SQLNumResultCols(statement.get(), &count);
  if (!SQL_SUCCEEDED(result)) {
    *error = QStringLiteral("The row was written, but it cannot be read back: ") +
             FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get()), OdbcTextForm::Diagnostic);
    return false;
  }
  BoundColumns row;
  row.Bind(statement.get(), m_resultKinds);
  if (count != static_cast<SQLSMALLINT>(m_resultKinds.size()) || !SQL_SUCCEEDED(SQLFetch(statement.get()))) {
    row.Unbind(statement.get());
    *error = QStringLiteral("The row was written, but the profile query does not find it.");
    return false;
  }
  ComputeTextDigest(row.RowText(), digest);
  if (stored != nullptr) *stored = row.Values();
  row.Unbind(statement.get());
  return true;
}

}  // namespace syncservice
