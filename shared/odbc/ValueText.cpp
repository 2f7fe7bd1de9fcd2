#include "shared/odbc/ValueText.h"

#include "shared/odbc/ColumnKind.h"

#include <sqlext.h>

#include <QRegularExpression>

#include <cmath>
#include <cstring>

namespace {

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
  const bool baseDate = year == 1899 && month == 12 && day == 30;
  const bool midnight = hour == 0 && minute == 0 && second == 0;
  if (baseDate && midnight) return {};
  if (midnight) return QString::asprintf("%d/%d/%d", month, day, year);
  const bool afternoon = hour >= 12;
  const int clockHour = hour > 12 ? hour - 12 : hour;
  const char* half = afternoon ? "PM" : "AM";
  if (baseDate || (year == 0 && month == 0 && day == 0)) {
    return QString::asprintf("%d:%d:%d %s", clockHour, minute, second, half);
  }
  return QString::asprintf("%d/%d/%d %d:%d:%d %s", month, day, year, clockHour, minute, second, half);
}

QString NormaliseDecimalText(const QString& text) {
  static const QRegularExpression plainDecimal(QStringLiteral("^[+-]?[0-9]*(\\.[0-9]*)?$"));
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || !plainDecimal.match(trimmed).hasMatch() || trimmed == u"." ||
      trimmed == u"-" || trimmed == u"+") {
    return text;
  }
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
