#include "platform/standin/StandInTable.h"

#include <QRegularExpression>
#include <QSet>

namespace platform {
namespace {

constexpr int kDoubleDigits = 15;

// No leading zero before another digit, so the text reads back as written.
bool HasLeadingZero(QStringView digits) { return digits.size() > 1 && digits[0] == u'0' && digits[1].isDigit(); }

QStringView Unsigned(QStringView value) {
  return !value.isEmpty() && (value[0] == u'-' || value[0] == u'+') ? value.mid(1) : value;
}

bool IsInteger(const QString& value) {
  static const QRegularExpression kInteger(QStringLiteral("^[+-]?[0-9]+$"));
  if (!kInteger.match(value).hasMatch() || HasLeadingZero(Unsigned(value))) return false;
  bool fits = false;
  value.toInt(&fits);
  return fits;
}

bool IsDouble(const QString& value) {
  static const QRegularExpression kDecimal(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
  if (!kDecimal.match(value).hasMatch() || HasLeadingZero(Unsigned(value))) return false;
  const QStringView mantissa = Unsigned(value).left(value.indexOf(QRegularExpression(QStringLiteral("[eE]"))));
  qsizetype significant = 0;
  bool started = false;
  for (const QChar character : mantissa) {
    started = started || (character.isDigit() && character != u'0');
    if (started && character.isDigit()) ++significant;
  }
  bool finite = false;
  value.toDouble(&finite);
  return finite && significant <= kDoubleDigits;
}

StandInType TypeOfColumn(const StandInTable& table, qsizetype column) {
  bool integers = true;
  bool doubles = true;
  for (const QStringList& row : table.rows) {
    const QString& value = row[column];
    if (value.isNull()) continue;
    integers = integers && IsInteger(value);
    doubles = doubles && (integers || IsDouble(value));
    if (!doubles) return StandInType::Text;
  }
  return integers ? StandInType::Integer : StandInType::Double;
}

}  // namespace

void TypeColumnsByValues(StandInTable* table) {
  table->types.clear();
  for (qsizetype column = 0; column < table->columns.size(); ++column) {
    bool anyValue = false;
    for (const QStringList& row : table->rows) anyValue = anyValue || !row[column].isNull();
    table->types.append(anyValue ? TypeOfColumn(*table, column) : StandInType::Text);
  }
}

QStringList UniqueColumnNames(const QStringList& names) {
  QStringList unique;
  QSet<QString> taken;
  for (qsizetype i = 0; i < names.size(); ++i) {
    QString name = names[i].trimmed();
    if (name.isEmpty() || taken.contains(name.toLower())) name = QStringLiteral("F%1").arg(i + 1);
    while (taken.contains(name.toLower())) name += u'_';
    taken.insert(name.toLower());
    unique.append(name);
  }
  return unique;
}

}  // namespace platform
