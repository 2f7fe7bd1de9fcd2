#include "shared/odbc/ValueText.h"

#include "shared/odbc/ColumnKind.h"

#include <sqlext.h>


#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Decimal digits of `value`, with "-" before a negative one ("%d").
void AppendNumber(QString* text, int value) {
  char digits[16];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  if (error == std::errc()) text->append(QLatin1StringView(digits, end - digits));
}

// An optional sign, digits, and an optional "." with digits after it; neither empty nor a lone
// sign or ".".
bool IsPlainDecimal(QStringView text) {
  const auto digit = [text](qsizetype i) { return text[i] >= u'0' && text[i] <= u'9'; };
  qsizetype i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  while (i < text.size() && digit(i)) ++i;
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && digit(i)) ++i;
  }
  return i == text.size() && !text.isEmpty() && text != u"." && text != u"-" && text != u"+";
}

template <typename T>
bool ReadValue(const char* buffer, qsizetype capacity, T* value) {
  if (capacity < static_cast<qsizetype>(sizeof(T))) return false;
  std::memcpy(value, buffer, sizeof(T));
  return true;
}

QString WideText(const char* buffer, qsizetype capacity, SQLLEN length) {
  const qsizetype bytes = std::min<qsizetype>(static_cast<qsizetype>(length), capacity);
  QString text(bytes / 2, Qt::Uninitialized);
  std::memcpy(text.data(), buffer, static_cast<size_t>(text.size()) * 2);
  return text;
}

QString TrimmedFixed(double value) {
  QString text = QString::asprintf("%f", value);
  while (text.endsWith(u'0')) text.chop(1);
  if (text.endsWith(u'.')) text += u'0';
  return text;
}

template <typename T, typename Format>
QString FormatFixed(const char* buffer, qsizetype capacity, Format format) {
  T value{};
  if (!ReadValue(buffer, capacity, &value)) return {};
  return format(value);
}

QString FormatDate(const char* buffer, qsizetype capacity) {
  return FormatFixed<DATE_STRUCT>(buffer, capacity, [](const DATE_STRUCT& d) {
    return FormatTimestampText(d.year, d.month, d.day, 0, 0, 0);
  });
}

QString FormatTime(const char* buffer, qsizetype capacity) {
  return FormatFixed<TIME_STRUCT>(buffer, capacity, [](const TIME_STRUCT& t) {
    return FormatTimestampText(1899, 12, 30, t.hour, t.minute, t.second);
  });
}

QString FormatTimestamp(const char* buffer, qsizetype capacity) {
  return FormatFixed<TIMESTAMP_STRUCT>(buffer, capacity, [](const TIMESTAMP_STRUCT& t) {
    return FormatTimestampText(t.year, t.month, t.day, t.hour, t.minute, t.second);
  });
}

}  // namespace

QString FormatFieldValue(const char* buffer, qsizetype capacity, SQLLEN length, int16_t code) {
  if (length < 1 || buffer == nullptr) return {};
  switch (code) {
    case ColumnKind::Text:
      return WideText(buffer, capacity, length);
    case ColumnKind::Numeric:
      return NormaliseDecimalText(WideText(buffer, capacity, length));
    case ColumnKind::Int32:
      return FormatFixed<int32_t>(buffer, capacity, [](int32_t v) { return QString::number(v); });
    case ColumnKind::Int16:
      return FormatFixed<int16_t>(buffer, capacity, [](int16_t v) { return QString::number(v); });
    case ColumnKind::BigInt:
      return FormatFixed<int64_t>(buffer, capacity, [](int64_t v) { return QString::number(v); });
    case ColumnKind::Float:
      return FormatFixed<float>(buffer, capacity, [](float v) { return FormatFloatText(v); });
    case ColumnKind::Double:
      return FormatFixed<double>(buffer, capacity, [](double v) { return FormatDoubleText(v); });
    case ColumnKind::TinyInt:
      return FormatFixed<uint8_t>(buffer, capacity, [](uint8_t v) { return QString::number(v); });
    case ColumnKind::SignedTinyInt:
      return FormatFixed<int8_t>(buffer, capacity, [](int8_t v) { return QString::number(v); });
    case ColumnKind::UInt16:
      return FormatFixed<uint16_t>(buffer, capacity, [](uint16_t v) { return QString::number(v); });
    case ColumnKind::UInt32:
      return FormatFixed<uint32_t>(buffer, capacity, [](uint32_t v) { return QString::number(v); });
    case ColumnKind::Bit:
      return FormatFixed<uint8_t>(buffer, capacity, [](uint8_t v) {
        return v != 0 ? QStringLiteral("True") : QStringLiteral("False");
      });
    case SQL_DATE:
    case SQL_TYPE_DATE:
      return FormatDate(buffer, capacity);
    case SQL_TIME:
      return FormatTime(buffer, capacity);
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
      return FormatTimestamp(buffer, capacity);
    default:
      return {};
  }
}

QString FormatTimestampText(int year, int month, int day, int hour, int minute, int second) {
  // Written digit by digit: every row of a change-detection pass formats its dates.
  const bool baseDate = year == 1899 && month == 12 && day == 30;
  const bool midnight = hour == 0 && minute == 0 && second == 0;
  if (baseDate && midnight) return {};
  QString text;
  text.reserve(24);
  const auto date = [&text, year, month, day] {
    AppendNumber(&text, month);
    text += u'/';
    AppendNumber(&text, day);
    text += u'/';
    AppendNumber(&text, year);
  };
  if (midnight) {
    date();
    return text;
  }
  if (!baseDate && !(year == 0 && month == 0 && day == 0)) {
    date();
    text += u' ';
  }
  AppendNumber(&text, hour > 12 ? hour - 12 : hour);
  text += u':';
  AppendNumber(&text, minute);
  text += u':';
  AppendNumber(&text, second);
  text += hour >= 12 ? QLatin1StringView(" PM") : QLatin1StringView(" AM");
  return text;
}

QString NormaliseDecimalText(const QString& text) {
  const QString trimmed = text.trimmed();
  if (!IsPlainDecimal(trimmed)) return text;
  QString result = trimmed;
  if (!result.contains(u'.')) return result + QStringLiteral(".0");
  while (result.endsWith(u'0')) result.chop(1);
  if (result.endsWith(u'.')) result += u'0';
  if (result.startsWith(u'.')) result.prepend(u'0');
  return result;
}

QString FormatFloatText(double value) {
  double whole = 0;
  if (std::modf(value, &whole) == 0.0) return QString::asprintf("%.1f", value);
  return TrimmedFixed(value);
}

QString FormatDoubleText(double value) {
  if (std::isnan(value) || value >= 100000000.0) return QString::asprintf("%e", value);
  return FormatFloatText(value);
}
