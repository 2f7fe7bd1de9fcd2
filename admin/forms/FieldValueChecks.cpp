#include "admin/forms/FieldValueChecks.h"

#include <QString>

#include <array>

namespace {

constexpr std::array<QStringView, 9> kNumericTypes = {
    u"SQL_NUMERIC", u"SQL_DOUBLE",  u"SQL_INTEGER",  u"SQL_SMALLINT",   u"SQL_TINYINT",
    u"SQL_REAL",    u"SQL_C_USHORT", u"SQL_C_ULONG", u"SQL_C_STINYINT",
};
constexpr QStringView kBitType = u"SQL_BIT";
constexpr std::array<QStringView, 7> kTextTypes = {
    u"SQL_LONGVARCHAR", u"SQL_VARCHAR",      u"SQL_CHAR", u"SQL_WCHAR",
    u"SQL_WVARCHAR",    u"SQL_WLONGVARCHAR", u"SQL_GUID",
};
constexpr std::array<QStringView, 3> kDateTimeTypes = {u"SQL_TIMESTAMP", u"SQL_DATE", u"SQL_TIME"};

template <size_t N>
bool IsOneOf(const std::array<QStringView, N>& names, QStringView name, Qt::CaseSensitivity sensitivity) {
  for (QStringView candidate : names) {
    if (candidate.compare(name, sensitivity) == 0) return true;
  }
  return false;
}

bool HasDigit(QStringView text) {
  for (QChar character : text) {
    if (character >= u'0' && character <= u'9') return true;
  }
  return false;
}

bool IsDigitsOnly(QStringView text) {
  for (QChar character : text) {
    if (character < u'0' || character > u'9') return false;
  }
  return !text.isEmpty();
}

// Cuts the part up to `separator` off the front of `rest`; false when the separator is missing.
bool TakePart(QStringView* rest, QChar separator, QStringView* part) {
  const qsizetype at = rest->indexOf(separator);
  if (at < 0) return false;
  *part = rest->left(at);
  *rest = rest->mid(at + 1);
  return true;
}

// A part of digits only, `minimumLength` to `maximumLength` of them, its value within the range.
bool IsNumberPart(QStringView part, qsizetype minimumLength, qsizetype maximumLength, int lowest, int highest) {
  if (part.size() < minimumLength || part.size() > maximumLength || !IsDigitsOnly(part)) return false;
  const int value = part.toInt();
  return value >= lowest && value <= highest;
}

}  // namespace

bool IsIntegerText(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar character = text[i];
    const bool digit = character >= u'0' && character <= u'9';
    if (!digit && !(i == 0 && character == u'-')) return false;
  }
  return text.isEmpty() || HasDigit(text);
}

bool IsDecimalText(QStringView text) {
  if (text.count(u'.') > 1) return false;
  QString withoutPoint = text.toString();
  withoutPoint.remove(u'.');
  return text.isEmpty() || (IsIntegerText(withoutPoint) && HasDigit(withoutPoint));
}

int GetSqlTypeCategory(QStringView typeName) {
  const bool needsValue = IsOneOf(kNumericTypes, typeName, Qt::CaseInsensitive) ||
                          kBitType.compare(typeName, Qt::CaseInsensitive) == 0;
  return needsValue ? 0 : 1;
}

bool IsDateTimeText(QStringView /*typeName*/, QStringView text) {
  if (text.size() > 19) return false;
  QStringView rest = text;
  QStringView year, month, day, hour, minute;
  if (!TakePart(&rest, u'-', &year) || !TakePart(&rest, u'-', &month) || !TakePart(&rest, u' ', &day) ||
      !TakePart(&rest, u':', &hour) || !TakePart(&rest, u':', &minute)) {
    return false;
  }
  return IsNumberPart(year, 4, 4, 0, 9999) && IsNumberPart(month, 1, 2, 1, 12) && IsNumberPart(day, 1, 2, 1, 31) &&
         IsNumberPart(hour, 1, 2, 0, 23) && IsNumberPart(minute, 1, 2, 0, 59) && IsNumberPart(rest, 1, 2, 0, 59);
}

int ValidateDefaultValue(QStringView typeName, QStringView text) {
  if (IsOneOf(kNumericTypes, typeName, Qt::CaseSensitive)) return IsDecimalText(text) ? kValueValid : kValueNotNumeric;
  if (IsOneOf(kTextTypes, typeName, Qt::CaseSensitive)) return kValueValid;
  if (IsOneOf(kDateTimeTypes, typeName, Qt::CaseSensitive))
    return IsDateTimeText(typeName, text) ? kValueValid : kValueNotDateTime;
  if (typeName == kBitType) return IsDecimalText(text) ? kValueValid : kValueNotBit;
  return kValueValid;
}

QString DefaultValueMessage(int check, const QString& columnName) {
  switch (check) {
    case kValueNotNumeric:
      return QStringLiteral("Default Value for \"%1\" Field should be numeric, Please Enter proper Default Value.")
          .arg(columnName);
    case kValueNotBit:
      return QStringLiteral(
                 "Default Value for \"%1\" Field should be numeric i.e. 1 or 0, Please Enter proper Default Value.")
          .arg(columnName);
    case kValueNotDateTime:
      return QStringLiteral(
                 "Default Value for \"%1\" Field should be DateTime,\r\nPlease Enter value in following "
                 "Format\r\nFor DateTime : \"YYYY-MM-DD HH:MM:SS\".")
          .arg(columnName);
    default:
      return {};
  }
}
