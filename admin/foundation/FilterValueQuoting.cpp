#include "admin/foundation/FilterValueQuoting.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kCharacterTypes{1, 12, -1, -8, -9, -10, -11};
constexpr std::array kDateTypes{9, 11, 91, 93};
constexpr int kBitType = -7;

template <std::size_t N>
bool IsOneOf(int type, const std::array<int, N>& types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

bool IsEnclosedIn(const QString& value, QChar delimiter) {
  return value.size() >= 2 && value.front() == delimiter && value.back() == delimiter;
}

// True when the value is one SQL string literal: enclosed in single quotes, every quote inside
// doubled.
bool IsSingleQuotedLiteral(const QString& value) {
  if (!IsEnclosedIn(value, u'\'')) return false;
  for (qsizetype i = 1; i < value.size() - 1; ++i) {
    if (value[i] != u'\'') continue;
    if (i + 1 >= value.size() - 1 || value[i + 1] != u'\'') return false;
    ++i;
  }
  return true;
}

QString SingleQuoted(const QString& text) {
  QString inner = text;
  inner.replace(u'\'', QStringLiteral("''"));
  return u'\'' + inner + u'\'';
}

QString QuoteDate(const QString& value, bool accessFile) {
  if (IsEnclosedIn(value, u'#')) {
    return accessFile ? value : SingleQuoted(value.mid(1, value.size() - 2));
  }
  return accessFile ? u'#' + value + u'#' : SingleQuoted(value);
}

QString BitValue(const QString& value, const QString& databaseKind) {
  if (!databaseKind.contains(u"SQL Server")) return value;
  if (value.compare(u"True", Qt::CaseInsensitive) == 0) return QStringLiteral("1");
  if (value.compare(u"FALSE", Qt::CaseInsensitive) == 0) return QStringLiteral("0");
  return value;
}

}  // namespace

QString QuoteFilterValue(const QString& value, int sqlType, const FilterValueTarget& target) {
  if (sqlType == kBitType) return BitValue(value, target.databaseKind);
  const bool character = IsOneOf(sqlType, kCharacterTypes);
  const bool date = IsOneOf(sqlType, kDateTypes);
  if (!character && !date) return value;
  if (value.compare(u"null", Qt::CaseInsensitive) == 0 || IsSingleQuotedLiteral(value)) return value;
  return character ? SingleQuoted(value) : QuoteDate(value, target.accessFile);
}
