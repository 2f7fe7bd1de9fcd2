#include "admin/profiles/ProcedureCall.h"

#include "admin/forms/FieldValueChecks.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/foundation/SqlTypes.h"
#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcText.h"
#include "shared/odbc/QueryText.h"
#include "shared/odbc/SqlQuotes.h"

#include <sqlext.h>

#include <QRegularExpression>

#include <array>

namespace {

struct DirectionWord {
  const char16_t* word;
  int16_t kind;
};

constexpr DirectionWord kDirectionWords[] = {
    {u"returns", SQL_RETURN_VALUE},
    {u"out", SQL_PARAM_OUTPUT},
    {u"inout", SQL_PARAM_INPUT_OUTPUT},
    {u"in", SQL_PARAM_INPUT},
};

// The kind a leading word names; 0 when it names none (the word is then the parameter's name).
int16_t KindOfWord(const QString& word) {
  for (const DirectionWord& direction : kDirectionWords) {
    if (word.compare(QString::fromUtf16(direction.word), Qt::CaseInsensitive) == 0) return direction.kind;
  }
  return 0;
}

// The first row's first column read whole as UTF-8 bytes: mysql.proc keeps param_list as a
// blob, which the record sources take for a column they cannot show. Empty when nothing is read.
QString ReadFirstBlobText(const admin::CDatabseConnection& connection, const QString& sql) {
  const platform::OdbcHandle statement =
      platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, connection.GetConnectionHandle());
  if (!statement || !SQL_SUCCEEDED(SQLExecDirectW(statement.get(), platform::SqlText(sql), SQL_NTS)) ||
      !SQL_SUCCEEDED(SQLFetch(statement.get())))
    return {};
  QByteArray bytes;
  std::array<char, 4096> chunk{};
  for (;;) {
    SQLLEN indicator = SQL_NULL_DATA;
    const SQLRETURN result = SQLGetData(statement.get(), 1, SQL_C_BINARY, chunk.data(), chunk.size(), &indicator);
    if (!SQL_SUCCEEDED(result) || indicator == SQL_NULL_DATA) break;
    const SQLLEN taken = indicator == SQL_NO_TOTAL || indicator > static_cast<SQLLEN>(chunk.size())
                             ? static_cast<SQLLEN>(chunk.size())
                             : indicator;
    bytes.append(chunk.data(), static_cast<qsizetype>(taken));
    if (result == SQL_SUCCESS) break;
  }
  return QString::fromUtf8(bytes);
}

QString ReadParamList(const admin::CDatabseConnection& connection, const QString& dataSourceName, const QString& procedure) {
  const QString sql = QStringLiteral(
                          "select param_list from mysql.proc where (name = '%1') and (type = 'PROCEDURE') and "
                          "(db = '%2');")
                          .arg(SqlTextValue(procedure), SqlTextValue(GetDsnDatabaseName(dataSourceName)));
  return ReadFirstBlobText(connection, sql);
}

QList<ProcedureParameter> ReadCatalogParameters(admin::CDatabseConnection& connection, const QString& procedure) {
  QStringList names;
  QList<int16_t> kinds;
  QList<int16_t> types;
  connection.GetProcedureColumnList(procedure, &names, &kinds, &types);
  QList<ProcedureParameter> parameters;
  for (qsizetype i = 0; i < names.size(); ++i) parameters.append({names.at(i), kinds.value(i), types.value(i)});
  return parameters;
}

bool IsQuotedType(const QString& typeName) {
  static const QStringList kQuotedTypes = {
      QStringLiteral("SQL_VARCHAR"),   QStringLiteral("SQL_LONGVARCHAR"), QStringLiteral("SQL_CHAR"),
      QStringLiteral("SQL_WCHAR"),     QStringLiteral("SQL_WVARCHAR"),    QStringLiteral("SQL_WLONGVARCHAR"),
      QStringLiteral("SQL_TIMESTAMP"), QStringLiteral("SQL_DATE"),        QStringLiteral("SQL_TIME")};
  return kQuotedTypes.contains(typeName, Qt::CaseInsensitive);
}

}  // namespace

QList<ProcedureParameter> ParseMySqlParamList(const QString& paramList) {
  static const QRegularExpression kWhiteSpace(QStringLiteral("\\s+"));
  QList<ProcedureParameter> parameters;
  for (const QString& item : SplitSqlList(paramList)) {
    const QStringList words = item.split(kWhiteSpace, Qt::SkipEmptyParts);
    const int16_t kind = words.isEmpty() ? int16_t{0} : KindOfWord(words.front());
    const qsizetype nameAt = kind == 0 ? 0 : 1;
    if (words.size() < nameAt + 2) break;
    parameters.append({UnquoteSqlName(words.at(nameAt)), kind == 0 ? int16_t{SQL_PARAM_INPUT} : kind,
                       static_cast<int16_t>(MySqlTypeToSqlType(words.at(nameAt + 1)))});
  }
  return parameters;
}

QList<ProcedureParameter> GetMySqlProcedureParams(const admin::CDatabseConnection& connection, const QString& dataSourceName,
                                                  const QString& procedure) {
  return ParseMySqlParamList(ReadParamList(connection, dataSourceName, procedure));
}

QList<ProcedureParameter> GetProcedureParameters(admin::CDatabseConnection& connection, const QString& dataSourceName,
                                                 const QString& procedure, bool mySql) {
  if (mySql) {
    const QList<ProcedureParameter> parameters = GetMySqlProcedureParams(connection, dataSourceName, procedure);
    if (!parameters.isEmpty()) return parameters;
    WriteAppLog(
        -1, QStringLiteral("No parameters of procedure %1 read from mysql.proc; asking the driver.").arg(procedure));
  }
  return ReadCatalogParameters(connection, procedure);
}

QList<ParameterRecord> ParameterRecordsToAsk(const QList<ProcedureParameter>& parameters) {
  QList<ParameterRecord> records;
  for (const ProcedureParameter& parameter : parameters) {
    if (parameter.kind != SQL_PARAM_INPUT && parameter.kind != SQL_PARAM_INPUT_OUTPUT) continue;
    records.append({parameter.name, GetSqlTypeName(parameter.sqlType), GetParamTypeName(parameter.kind), {}});
  }
  return records;
}

QString FormatParameterValue(const QString& typeName, const QString& value) {
  const QString text = SqlTextValue(value);
  return IsQuotedType(typeName) ? u'\'' + text + u'\'' : text;
}

bool IsAcceptedParameterValue(const QString& typeName, const QString& value) {
  if (IsQuotedType(typeName)) return true;
  const QString trimmed = value.trimmed();
  if (trimmed.compare(QStringLiteral("null"), Qt::CaseInsensitive) == 0) return true;
  return !trimmed.isEmpty() && IsDecimalText(trimmed);
}

QString JoinParameterValues(const QList<ParameterRecord>& records) {
  QStringList values;
  for (const ParameterRecord& record : records) values.append(FormatParameterValue(record.typeName, record.value));
  return values.join(QStringLiteral(", "));
}

CallSyntax CallSyntaxOf(bool mySql, const QString& productName) {
  if (mySql) return CallSyntax::kMySql;
  return productName.contains(QStringLiteral("PostgreSQL")) ? CallSyntax::kEscape : CallSyntax::kExec;
}

QString BuildCallStart(CallSyntax syntax, const QString& procedure) {
  switch (syntax) {
    case CallSyntax::kMySql:
      return QStringLiteral("call ") + QuoteSqlName(procedure, u'`');
    case CallSyntax::kEscape:
      return QStringLiteral("{call ") + QuoteSqlName(procedure, u'"');
    case CallSyntax::kExec:
      break;
  }
  return QStringLiteral("exec ") + QuoteSqlName(procedure, u'"');
}

QString BuildCallText(CallSyntax syntax, const QString& procedure, const QString& arguments) {
  const QString start = BuildCallStart(syntax, procedure);
  switch (syntax) {
    case CallSyntax::kMySql:
      return start + QStringLiteral(" (") + arguments + u')';
    case CallSyntax::kEscape:
      return start + u'(' + arguments + QStringLiteral(")}");
    case CallSyntax::kExec:
      break;
  }
  return start + u' ' + arguments;
}
