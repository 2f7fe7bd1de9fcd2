#include "admin/foundation/ProfileQueryText.h"

#include "admin/foundation/DatabseConnection.h"
#include "shared/odbc/QueryText.h"

namespace {

const QString kExportPrefix = QStringLiteral("New_");

// The call text after `keyword`; null when the keyword is missing.
QString TextAfterKeyword(const QString& callText, QStringView keyword) {
  const qsizetype position = FindSqlKeyword(callText, keyword);
  return position < 0 ? QString() : callText.mid(position + keyword.size());
}

QString Unquoted(QString text) {
  text.remove(u'"');
  return text.trimmed();
}

QString TrimmedOfBlanksAndBackQuotes(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && (text[start].isSpace() || text[start] == u'`')) ++start;
  while (end > start && (text[end - 1].isSpace() || text[end - 1] == u'`')) --end;
  return text.mid(start, end - start);
}

// "call `name` (arguments)": the name before the first "(", the arguments up to the last ")", so
// that a ")" inside a text argument does not cut them.
QString CallName(const QString& rest) {
  QString name = rest.left(rest.indexOf(u'('));
  name.remove(u'"');
  return TrimmedOfBlanksAndBackQuotes(name);
}

QString CallArguments(const QString& rest) {
  const qsizetype open = rest.indexOf(u'(');
  if (open < 0) return {};
  const qsizetype close = rest.lastIndexOf(u')');
  return Unquoted(rest.mid(open + 1, close > open ? close - open - 1 : -1));
}

// "exec "name" arguments": where the name ends and the arguments begin.
qsizetype ExecNameEnd(const QString& name) {
  const qsizetype quote = name.indexOf(u'"');
  return quote < 0 ? name.size() : quote;
}

// The text after EXEC from the name on: past the blanks and the name's opening double quote.
QString ExecRest(const QString& callText) {
  const QString rest = TextAfterKeyword(callText, u"EXEC");
  qsizetype start = 0;
  while (start < rest.size() && rest[start].isSpace()) ++start;
  if (start < rest.size() && rest[start] == u'"') ++start;
  return rest.mid(start);
}

}  // namespace

QString GetProcedureNameFromCall(const QString& driverDescription, const QString& callText) {
  if (CDatabseConnection::IsMySqlDriver(driverDescription)) return CallName(TextAfterKeyword(callText, u"CALL"));
  const QString rest = ExecRest(callText);
  return Unquoted(rest.left(ExecNameEnd(rest)));
}

QString GetProcedureArgsFromCall(const QString& driverDescription, const QString& callText) {
  if (CDatabseConnection::IsMySqlDriver(driverDescription)) return CallArguments(TextAfterKeyword(callText, u"CALL"));
  const QString rest = ExecRest(callText);
  return Unquoted(rest.mid(ExecNameEnd(rest) + 1));
}

QString QueryOnWorkbookExport(const QString& query) {
  static constexpr QStringView kFrom = u"FROM";
  const qsizetype from = FindSqlKeyword(query, kFrom);
  if (from < 0) return query;
  qsizetype name = from + kFrom.size();
  while (name < query.size() && query[name].isSpace()) ++name;
  if (name < query.size() && query[name] == u'"') ++name;
  if (QStringView(query).mid(name).startsWith(kExportPrefix)) return query;
  QString rewritten = query;
  return rewritten.insert(name, kExportPrefix);
}
