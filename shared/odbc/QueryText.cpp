#include "shared/odbc/QueryText.h"

namespace {

// Characters that continue a name, so that a keyword inside one ("FromDate") is no keyword.
bool IsNameCharacter(QChar character) {
  return character.isLetterOrNumber() || character == u'_' || character == u'$' || character == u'#' ||
         character == u'@';
}

// The character that closes quoted text opened by `character`; null when it opens none.
QChar ClosingQuote(QChar character) {
  switch (character.unicode()) {
    case u'\'':
    case u'"':
    case u'`': return character;
    case u'[': return u']';
    default: return {};
  }
}

bool SameLetter(QChar textCharacter, QChar keywordCharacter) {
  return textCharacter.unicode() < 0x80 && textCharacter.toUpper() == keywordCharacter.toUpper();
}

// Where the keyword ends when it matches at `position`; -1 when it does not match there.
qsizetype KeywordEnd(QStringView text, qsizetype position, QStringView keyword) {
  qsizetype at = position;
  for (const QChar wanted : keyword) {
    if (at >= text.size()) return -1;
    if (wanted == u' ') {
      if (!text[at].isSpace()) return -1;
      while (at < text.size() && text[at].isSpace()) ++at;
    } else {
      if (!SameLetter(text[at], wanted)) return -1;
      ++at;
    }
  }
  return at;
}

bool IsWholeWord(QStringView text, qsizetype start, qsizetype end) {
  return (start == 0 || !IsNameCharacter(text[start - 1])) && (end == text.size() || !IsNameCharacter(text[end]));
}

void CutAtKeyword(QString* text, QStringView keyword) {
  if (const qsizetype position = FindSqlKeyword(*text, keyword); position >= 0) text->truncate(position);
}

// "dbo"."Orders" names Orders: an owner in double quotes goes, with its ".".
QString WithoutOwnerPrefix(const QString& name) {
  const qsizetype dot = name.indexOf(u'.');
  return dot > 0 && name[dot - 1] == u'"' ? name.mid(dot + 1) : name;
}

bool IsNameQuote(QChar character) { return character == u'"' || character == u'`'; }

}  // namespace

QString ReadQuotedSqlName(QStringView text, qsizetype* at) {
  const QChar quote = text[*at];
  QString name;
  for (qsizetype i = *at + 1; i < text.size(); ++i) {
    if (text[i] != quote) {
      name += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == quote) {
      name += quote;
      ++i;
      continue;
    }
    *at = i + 1;
    return name;
  }
  *at = text.size();
  return name;
}

namespace {

QString TrimmedOfSingleQuotes(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && text[start] == u'\'') ++start;
  while (end > start && text[end - 1] == u'\'') --end;
  return text.mid(start, end - start);
}

}  // namespace

qsizetype FindSqlKeyword(QStringView text, QStringView keyword) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (const QChar closing = ClosingQuote(text[i]); !closing.isNull()) {
      i = text.indexOf(closing, i + 1);
      if (i < 0) return -1;
      continue;
    }
    const qsizetype end = KeywordEnd(text, i, keyword);
    if (end >= 0 && IsWholeWord(text, i, end)) return i;
  }
  return -1;
}

QString GetTableNameFromQuery(const QString& query) {
  static constexpr QStringView kFrom = u"FROM";
  const qsizetype from = FindSqlKeyword(query, kFrom);
  if (from < 0) return {};
  QString name = query.mid(from + kFrom.size());
  CutAtKeyword(&name, u"WHERE");
  CutAtKeyword(&name, u"ORDER BY");
  const QString trimmed = name.trimmed();
  if (!trimmed.isEmpty() && IsNameQuote(trimmed.front())) return ReadQualifiedTableName(trimmed).table;
  name = WithoutOwnerPrefix(name);
  name.remove(u'"');
  return TrimmedOfSingleQuotes(name.trimmed());
}

QualifiedTableName ReadQualifiedTableName(QStringView tablePart) {
  const QStringView text = tablePart.trimmed();
  if (text.isEmpty() || !IsNameQuote(text.front())) return {{}, text.toString()};
  qsizetype at = 0;
  const QString first = ReadQuotedSqlName(text, &at);
  if (at >= text.size() || text[at] != u'.') return {{}, first};
  const QStringView rest = text.mid(at + 1).trimmed();
  return {first, UnquoteSqlName(rest)};
}

QString QuoteSqlName(const QString& name, QChar quote) {
  QString inner = name;
  inner.replace(quote, QString(2, quote));
  return quote + inner + quote;
}

QString UnquoteSqlName(QStringView name) {
  const QStringView text = name.trimmed();
  if (text.isEmpty() || !IsNameQuote(text.front())) return text.toString();
  qsizetype at = 0;
  return ReadQuotedSqlName(text, &at);
}

QStringList SplitSqlList(QStringView text) {
  QStringList items;
  if (text.trimmed().isEmpty()) return items;
  int depth = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar character = text[i];
    if (const QChar closing = ClosingQuote(character); !closing.isNull()) {
      // A doubled quote inside is two quoted stretches back to back: the same walk reads it.
      const qsizetype end = text.indexOf(closing, i + 1);
      i = end < 0 ? text.size() : end;
      continue;
    }
    if (character == u'(') ++depth;
    if (character == u')' && depth > 0) --depth;
    if (character == u',' && depth == 0) {
      items.append(text.mid(start, i - start).trimmed().toString());
      start = i + 1;
    }
  }
  items.append(text.mid(start).trimmed().toString());
  return items;
}
