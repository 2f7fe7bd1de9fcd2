#include "platform/workbook/SerialDateTime.h"

#include "platform/workbook/DecimalNumber.h"

#include <array>
#include <cmath>

namespace platform {
namespace {

using Token = NumberFormatToken;
using Kind = NumberFormatToken::Kind;
using Tokens = std::vector<NumberFormatToken>;

constexpr double kLastSerial = 2958466;  // 10000-01-01 in the 1900 system
constexpr int64_t kSecondsPerDay = 86400;

const std::array<const char16_t*, 12> kMonths = {u"January",   u"February", u"March",    u"April",
                                                 u"May",       u"June",     u"July",     u"August",
                                                 u"September", u"October",  u"November", u"December"};
const std::array<const char16_t*, 7> kDays = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                                              u"Friday", u"Saturday", u"Sunday"};

struct CalendarDay {
  int year;
  int month;
  int day;
  int weekday;  // 1 Monday .. 7 Sunday
};

CalendarDay DayOfSerial(int64_t days, bool date1904) {
  if (date1904) {
    const QDate date = QDate(1904, 1, 1).addDays(days);
    return {date.year(), date.month(), date.day(), date.dayOfWeek()};
  }
  if (days == 0) return {1900, 1, 0, 6};
  if (days == 60) return {1900, 2, 29, 3};
  const QDate date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
  return {date.year(), date.month(), date.day(), date.dayOfWeek()};
}

// The time parts of a serial rounded to the shown fraction of a second.
struct Moment {
  CalendarDay day;
  int64_t totalSeconds;  // from serial 0, for elapsed parts
  int hour;
  int minute;
  int second;
  int64_t fraction;  // in units of 10^-fractionDigits s
};

Moment MomentOfSerial(double serial, bool date1904, int fractionDigits) {
  const auto unitsPerSecond = static_cast<int64_t>(std::pow(10, fractionDigits));
  const auto units = static_cast<int64_t>(std::llround(serial * kSecondsPerDay * unitsPerSecond));
  const int64_t seconds = units / unitsPerSecond;
  const int64_t ofDay = seconds % kSecondsPerDay;
  return {DayOfSerial(seconds / kSecondsPerDay, date1904),
          seconds,
          static_cast<int>(ofDay / 3600),
          static_cast<int>(ofDay / 60 % 60),
          static_cast<int>(ofDay % 60),
          units % unitsPerSecond};
}

QString Padded(int64_t value, int width) { return QStringLiteral("%1").arg(value, width, 10, QChar(u'0')); }

// "m" means minutes right after an hour part or right before a seconds part.
bool IsMinute(const Tokens& tokens, size_t at) {
  for (size_t i = at; i-- > 0;) {
    const Token& t = tokens[i];
    if (t.kind == Kind::DatePart || t.kind == Kind::Elapsed) {
      if (t.letter == u'h') return true;
      break;
    }
  }
  for (size_t i = at + 1; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (t.kind == Kind::DatePart || t.kind == Kind::Elapsed) return t.letter == u's';
  }
  return false;
}

int FractionDigits(const Tokens& tokens) {
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != Kind::Point || tokens[i + 1].kind != Kind::Digit) continue;
    int digits = 0;
    for (size_t j = i + 1; j < tokens.size() && tokens[j].kind == Kind::Digit && digits < 3; ++j) ++digits;
    return digits;
  }
  return 0;
}

QString MonthText(const CalendarDay& day, int count) {
  const QString name = QString::fromUtf16(kMonths[static_cast<size_t>(day.month - 1)]);
  if (count >= 5) return name.left(1);
  if (count == 4) return name;
  if (count == 3) return name.left(3);
  return Padded(day.month, count);
}

QString DayText(const CalendarDay& day, int count) {
  const QString name = QString::fromUtf16(kDays[static_cast<size_t>(day.weekday - 1)]);
  if (count >= 4) return name;
  if (count == 3) return name.left(3);
  return Padded(day.day, count);
}

class DateTimeWriter {
 public:
  DateTimeWriter(const Tokens& tokens, const Moment& moment) : tokens_(tokens), moment_(moment) {
    for (const Token& t : tokens)
      if (t.kind == Kind::AmPm) twelveHour_ = true;
  }

  QString Run() {
    for (size_t i = 0; i < tokens_.size(); ++i) Write(i);
    return out_;
  }

 private:
  void Write(size_t& i) {
    const Token& t = tokens_[i];
    switch (t.kind) {
      case Kind::DatePart: return DatePart(t, i);
      case Kind::Elapsed: return Elapsed(t);
      case Kind::AmPm: return AmPm(t);
      case Kind::Point: return Point(i);
      case Kind::Literal: out_ += t.text; return;
      case Kind::Digit: out_ += t.letter; return;
      case Kind::Comma: out_ += u','; return;
      case Kind::Percent: out_ += u'%'; return;
      default: return;
    }
  }

  void DatePart(const Token& t, size_t i) {
    const CalendarDay& day = moment_.day;
    if (t.letter == u'y') out_ += t.count <= 2 ? Padded(day.year % 100, 2) : Padded(day.year, 4);
    if (t.letter == u'd') out_ += DayText(day, t.count);
    if (t.letter == u's') out_ += Padded(moment_.second, std::min(t.count, 2));
    if (t.letter == u'h') out_ += Padded(Hour(), std::min(t.count, 2));
    if (t.letter == u'm')
      out_ += IsMinute(tokens_, i) ? Padded(moment_.minute, std::min(t.count, 2)) : MonthText(day, t.count);
  }

  int Hour() const {
    if (!twelveHour_) return moment_.hour;
    const int hour = moment_.hour % 12;
    return hour == 0 ? 12 : hour;
  }

  void Elapsed(const Token& t) {
    const int64_t total = moment_.totalSeconds;
    if (t.letter == u'h') out_ += Padded(total / 3600, t.count);
    if (t.letter == u'm') out_ += Padded(total / 60, t.count);
    if (t.letter == u's') out_ += Padded(total, t.count);
  }

  void AmPm(const Token& t) {
    const bool pm = moment_.hour >= 12;
    if (t.text.size() == 5) {
      out_ += pm ? QStringLiteral("PM") : QStringLiteral("AM");
      return;
    }
    out_ += pm ? t.text[2] : t.text[0];
  }

  // A point followed by zeros shows the fraction of the second.
  void Point(size_t& i) {
    int digits = 0;
    while (i + 1 < tokens_.size() && tokens_[i + 1].kind == Kind::Digit && digits < 3) {
      ++digits;
      ++i;
    }
    out_ += u'.';
    if (digits > 0) out_ += Padded(moment_.fraction, digits);
  }

  const Tokens& tokens_;
  const Moment& moment_;
  bool twelveHour_ = false;
  QString out_;
};

}  // namespace

QString FormatSerialDateTime(const Tokens& tokens, double serial, bool date1904) {
  const double last = date1904 ? kLastSerial - 1462 : kLastSerial;
  if (!(serial >= 0) || serial >= last) return GeneralNumberText(serial);
  const int fractionDigits = FractionDigits(tokens);
  return DateTimeWriter(tokens, MomentOfSerial(serial, date1904, fractionDigits)).Run();
}

double SerialOfDateTime(const QDate& date, int secondsOfDay) {
  return static_cast<double>(QDate(1899, 12, 30).daysTo(date)) +
         static_cast<double>(secondsOfDay) / kSecondsPerDay;
}

}  // namespace platform
