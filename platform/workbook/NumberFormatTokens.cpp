#include "platform/workbook/NumberFormatTokens.h"

#include <QLocale>

namespace platform {
namespace {

using Token = NumberFormatToken;
using Kind = NumberFormatToken::Kind;

std::vector<QString> SplitSections(const QString& code) {
  std::vector<QString> sections(1);
  bool quoted = false;
  bool bracketed = false;
  for (qsizetype i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    if (c == u'"') quoted = !quoted;
    if (!quoted && c == u'[') bracketed = true;
    if (!quoted && c == u']') bracketed = false;
    if (!quoted && !bracketed && c == u';') {
      sections.emplace_back();
      continue;
    }
    sections.back().append(c);
    if (!quoted && (c == u'\\' || c == u'_' || c == u'*') && i + 1 < code.size())
      sections.back().append(code[++i]);
  }
  return sections;
}

bool IsDateLetter(QChar c) {
  const QChar lower = c.toLower();
  return lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' || lower == u's';
}

bool StartsWithNoCase(QStringView text, qsizetype at, QStringView word) {
  return text.mid(at).startsWith(word, Qt::CaseInsensitive);
}

// "[h]", "[mm]", "[ss]": an elapsed-time part; false for any other bracket.
bool ElapsedToken(QStringView inside, Token* token) {
  if (inside.isEmpty()) return false;
  const QChar letter = inside[0].toLower();
  if (letter != u'h' && letter != u'm' && letter != u's') return false;
  for (const QChar c : inside)
    if (c.toLower() != letter) return false;
  *token = {Kind::Elapsed, {}, letter, static_cast<int>(inside.size())};
  return true;
}

class Tokenizer {
 public:
  explicit Tokenizer(QStringView code) : code_(code) {}

  void Run(NumberFormatSection* section) {
    section_ = section;
    while (at_ < code_.size()) Next();
  }

 private:
  void Add(Kind kind, const QString& text = {}, QChar letter = {}, int count = 0) {
    section_->tokens.push_back({kind, text, letter, count});
  }

  void Next() {
    const QChar c = code_[at_];
    if (c == u'"') return Quoted();
    if (c == u'[') return Bracket();
    if (c == u'\\' || c == u'_' || c == u'*') return Escaped(c);
    if (StartsWithNoCase(code_, at_, u"General")) return Word(Kind::General, 7);
    if (StartsWithNoCase(code_, at_, u"AM/PM")) return Word(Kind::AmPm, 5);
    if (StartsWithNoCase(code_, at_, u"A/P")) return Word(Kind::AmPm, 3);
    if ((c == u'E' || c == u'e') && at_ + 1 < code_.size() &&
        (code_[at_ + 1] == u'+' || code_[at_ + 1] == u'-')) {
      Add(Kind::Exponent, {}, code_[at_ + 1]);
      at_ += 2;
      return;
    }
    if (IsDateLetter(c)) return DateRun(c.toLower());
    ++at_;
    if (c == u'0' || c == u'#' || c == u'?') return Add(Kind::Digit, {}, c);
    if (c == u'.') return Add(Kind::Point);
    if (c == u',') return Add(Kind::Comma);
    if (c == u'%') return Add(Kind::Percent);
    if (c == u'@') {
      section_->hasText = true;
      return Add(Kind::TextMark);
    }
    Add(Kind::Literal, QString(c));
  }

  void Quoted() {
    const qsizetype end = code_.indexOf(u'"', at_ + 1);
    const qsizetype stop = end < 0 ? code_.size() : end;
    Add(Kind::Literal, code_.mid(at_ + 1, stop - at_ - 1).toString());
    at_ = stop + 1;
  }

  void Escaped(QChar mark) {
    if (at_ + 1 < code_.size()) {
      if (mark == u'\\') Add(Kind::Literal, QString(code_[at_ + 1]));
      if (mark == u'_') Add(Kind::Literal, QStringLiteral(" "));
    }
    at_ += 2;
  }

  void Word(Kind kind, qsizetype length) {
    Add(kind, code_.mid(at_, length).toString());
    at_ += length;
  }

  void DateRun(QChar letter) {
    int count = 0;
    while (at_ < code_.size() && code_[at_].toLower() == letter) {
      ++count;
      ++at_;
    }
    section_->isDate = true;
    Add(Kind::DatePart, {}, letter, count);
  }

  void Bracket() {
    const qsizetype end = code_.indexOf(u']', at_);
    const qsizetype stop = end < 0 ? code_.size() : end;
    const QStringView inside = code_.mid(at_ + 1, stop - at_ - 1);
    at_ = stop + 1;
    Token elapsed;
    if (ElapsedToken(inside, &elapsed)) {
      section_->isDate = true;
      section_->tokens.push_back(elapsed);
    } else if (inside.startsWith(u'$')) {
      const qsizetype dash = inside.indexOf(u'-');
      Add(Kind::Literal, inside.mid(1, dash < 0 ? -1 : dash - 1).toString());
    } else if (!inside.isEmpty() && (inside[0] == u'<' || inside[0] == u'>' || inside[0] == u'=')) {
      Condition(inside);
    }
  }

  void Condition(QStringView inside) {
    qsizetype length = 1;
    while (length < inside.size() && length < 2 && (inside[length] == u'=' || inside[length] == u'>'))
      ++length;
    bool ok = false;
    const double bound = QLocale::c().toDouble(inside.mid(length).trimmed(), &ok);
    if (!ok) return;
    section_->hasCondition = true;
    section_->conditionOperator = inside.left(length).toString();
    section_->conditionBound = bound;
  }

  QStringView code_;
  qsizetype at_ = 0;
  NumberFormatSection* section_ = nullptr;
};

}  // namespace

bool NumberFormatSection::ConditionHolds(double value) const {
  const QString& op = conditionOperator;
  if (op == u"<") return value < conditionBound;
  if (op == u"<=") return value <= conditionBound;
  if (op == u">") return value > conditionBound;
  if (op == u">=") return value >= conditionBound;
  if (op == u"<>") return value != conditionBound;
  return value == conditionBound;
}

std::vector<NumberFormatSection> ParseNumberFormat(const QString& formatCode) {
  std::vector<NumberFormatSection> sections;
  for (const QString& code : SplitSections(formatCode)) {
    sections.emplace_back();
    Tokenizer(code).Run(&sections.back());
  }
  return sections;
}

}  // namespace platform
