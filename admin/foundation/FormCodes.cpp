#include "admin/foundation/FormCodes.h"

#include <array>

namespace {

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0')); }

QString DateText(const QDate& date) {
  return TwoDigits(date.month()) + u'/' + TwoDigits(date.day()) + u'/' + TwoDigits(date.year());
}

QString TimeText(const QTime& time) {
  const int hour = time.hour();
  const QString half = hour >= 12 ? QStringLiteral("PM") : QStringLiteral("AM");
  return TwoDigits(hour > 12 ? hour - 12 : hour) + u':' + TwoDigits(time.minute()) + u':' +
         TwoDigits(time.second()) + u' ' + half;
}

}  // namespace

QString GetAlignText(int align) {
  switch (align) {
    case 0: return QStringLiteral("Left");
    case 1: return QStringLiteral("Center");
    case 2: return QStringLiteral("Right");
    default: return {};
  }
}

QString GetFontFaceName(int face) {
  static constexpr std::array<const char*, 6> kFaces = {
      "Verdana", "Times New Roman", "Tahoma", "Arial", "Century", "Microsoft Sans Serif"};
  if (face < 0 || face >= static_cast<int>(kFaces.size())) return {};
  return QString::fromLatin1(kFaces[static_cast<size_t>(face)]);
}

QString FormatCurrentDateTime(int format) {
  return FormatDateTimeText(format, QDateTime::currentDateTime());
}

QString FormatDateTimeText(int format, const QDateTime& when) {
  switch (format) {
    case 1: return DateText(when.date());
    case 2: return TimeText(when.time());
    case 3: return DateText(when.date()) + u' ' + TimeText(when.time());
    default: return {};
  }
}

QString FormatRgbText(int red, int green, int blue) {
  return QStringLiteral("<R:%1><G:%2><B:%3>").arg(red).arg(green).arg(blue);
}
