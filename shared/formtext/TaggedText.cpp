#include "shared/formtext/TaggedText.h"

#include <climits>

namespace taggedtext {

namespace {

QString OpeningTag(QStringView name) { return u'<' + name.toString() + u'>'; }
QString ClosingPattern(QStringView name) { return QStringLiteral("</") + name.toString(); }

qsizetype IndexIn(QStringView text, qsizetype from, qsizetype limit, const QString& pattern) {
  if (from > limit) return -1;
  return text.first(limit).indexOf(pattern, from);
}

bool IsCSpace(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

TagMatch FindTag(QStringView text, qsizetype from, qsizetype limit, QStringView name) {
  limit = qBound(qsizetype(0), limit, text.size());
  TagMatch match;
  const QString opening = OpeningTag(name);
  const qsizetype open = IndexIn(text, from, limit, opening);
  if (open < 0) return match;
  match.valueStart = open + opening.size();
  const qsizetype close = IndexIn(text, match.valueStart, limit, ClosingPattern(name));
  if (close < 0) {
    match.status = TagStatus::Unclosed;
    return match;
  }
  match.status = TagStatus::Found;
  match.valueEnd = close;
  return match;
}

int ToInt(QStringView text) {
  qsizetype i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i].unicode() - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // clamped below; stop growing
  }
  if (negative) value = -value;
  return static_cast<int>(qBound(static_cast<long long>(INT_MIN), value,
                                 static_cast<long long>(INT_MAX)));
}

}  // namespace taggedtext
