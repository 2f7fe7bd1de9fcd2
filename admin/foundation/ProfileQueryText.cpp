#include "admin/foundation/ProfileQueryText.h"

#include "admin/foundation/DatabseConnection.h"
#include "shared/odbc/QueryText.h"

#include <optional>

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

qsizetype SkipSpaces(const QString& text, qsizetype at) {
  while (at < text.size() && text[at].isSpace()) ++at;
  return at;
}

bool IsNameQuoteAt(const QString& text, qsizetype at) {
  return at < text.size() && (text[at] == u'"' || text[at] == u'`');
}

// A procedure call split into its name and the text that follows the name.
struct CallPieces {
  QString name;
  QString rest;
};

// The call text from `at` split at the end of a quoted name; nothing when no quote opens there.
std::optional<CallPieces> SplitAtQuotedName(const QString& text, qsizetype at) {
  if (!IsNameQuoteAt(text, at)) return std::nullopt;
  const QString name = ReadQuotedSqlName(text, &at);
  return CallPieces{name.trimmed(), text.mid(at)};
}

// "call `name` (arguments)" and "{call "name"(arguments)}": the name quoted, or bare up to "(".
CallPieces SplitCallAfterKeyword(const QString& callText) {
  const QString text = TextAfterKeyword(callText, u"CALL");
  const qsizetype at = SkipSpaces(text, 0);
  if (const std::optional<CallPieces> quoted = SplitAtQuotedName(text, at)) return *quoted;
  const qsizetype open = text.indexOf(u'(', at);
  QString name = text.mid(at, open < 0 ? -1 : open - at);
  name.remove(u'"').remove(u'`');
  return {name.trimmed(), open < 0 ? QString() : text.mid(open)};
}

// The arguments inside the parentheses, up to the last ")" so that one inside a text argument
// does not cut them.
QString CallArguments(const QString& rest) {
  const qsizetype open = rest.indexOf(u'(');
  if (open < 0) return {};
  const qsizetype close = rest.lastIndexOf(u')');
  return Unquoted(rest.mid(open + 1, close > open ? close - open - 1 : -1));
}

// "exec "name" arguments": the name in double quotes, the arguments after it.
CallPieces SplitExec(const QString& callText) {
  const QString text = TextAfterKeyword(callText, u"EXEC");
  const qsizetype at = SkipSpaces(text, 0);
  if (const std::optional<CallPieces> quoted = SplitAtQuotedName(text, at)) return *quoted;
  const qsizetype quote = text.indexOf(u'"', at);
  return {Unquoted(text.mid(at, quote < 0 ? -1 : quote - at)), quote < 0 ? QString() : text.mid(quote + 1)};
}

// The PostgreSQL driver has no EXEC: its calls are written in the ODBC escape.
bool IsCallEscape(const QString& callText) { return callText.trimmed().startsWith(u'{'); }

bool IsCallSyntax(const QString& driverDescription, const QString& callText) {
  return IsCallEscape(callText) || admin::CDatabseConnection::IsMySqlDriver(driverDescription);
}

// The first `keyword` at or after `from`, as a position in `text`; -1 when there is none.
qsizetype FindKeywordFrom(const QString& text, qsizetype from, QStringView keyword) {
  if (from < 0) return -1;
  const qsizetype found = FindSqlKeyword(QStringView(text).mid(from), keyword);
  return found < 0 ? -1 : from + found;
}

// The text between the end of a keyword and the next boundary found, trimmed.
QString PartBetween(const QString& text, qsizetype start, qsizetype keywordSize, qsizetype end) {
  if (start < 0) return {};
  const qsizetype begin = start + keywordSize;
  return (end < 0 ? text.mid(begin) : text.mid(begin, end - begin)).trimmed();
}

// Where a keyword's part ends: at the first of the later keywords found.
qsizetype FirstFound(std::initializer_list<qsizetype> positions) {
  qsizetype first = -1;
  for (const qsizetype position : positions) {
    if (position >= 0 && (first < 0 || position < first)) first = position;
  }
  return first;
}

}  // namespace

SelectQueryParts SplitSelectQuery(const QString& query) {
  static constexpr QStringView kSelect = u"SELECT";
  static constexpr QStringView kFrom = u"FROM";
  static constexpr QStringView kWhere = u"WHERE";
  static constexpr QStringView kOrderBy = u"ORDER BY";
  const qsizetype select = FindSqlKeyword(query, kSelect);
  const qsizetype columnsStart = select < 0 ? 0 : select + kSelect.size();
  const qsizetype from = FindKeywordFrom(query, columnsStart, kFrom);
  SelectQueryParts parts;
  parts.columns = (from < 0 ? query.mid(columnsStart) : query.mid(columnsStart, from - columnsStart)).trimmed();
  if (from < 0) return parts;
  const qsizetype where = FindKeywordFrom(query, from + kFrom.size(), kWhere);
  const qsizetype orderBy = FindKeywordFrom(query, where < 0 ? from + kFrom.size() : where + kWhere.size(), kOrderBy);
  parts.from = PartBetween(query, from, kFrom.size(), FirstFound({where, orderBy}));
  parts.where = PartBetween(query, where, kWhere.size(), orderBy);
  if (orderBy >= 0) {
    // The keyword's blank may be any run of white space: the part starts after "BY".
    const qsizetype by = query.indexOf(QStringLiteral("BY"), orderBy + 5, Qt::CaseInsensitive);
    parts.orderBy = query.mid(by + 2).trimmed();
  }
  return parts;
}

QString GetProcedureNameFromCall(const QString& driverDescription, const QString& callText) {
  return IsCallSyntax(driverDescription, callText) ? SplitCallAfterKeyword(callText).name : SplitExec(callText).name;
}

QString GetProcedureArgsFromCall(const QString& driverDescription, const QString& callText) {
  if (IsCallSyntax(driverDescription, callText)) return CallArguments(SplitCallAfterKeyword(callText).rest);
  return Unquoted(SplitExec(callText).rest);
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
