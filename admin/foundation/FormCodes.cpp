#include "admin/foundation/FormCodes.h"

#include <QStringList>

namespace {

// The texts of a table whose codes run from `first` upwards.
struct CodeTable {
  int first;
  QStringList texts;

  int Code(const QString& text) const {
    const qsizetype found = texts.indexOf(text);
    return found < 0 ? 0 : first + static_cast<int>(found);
  }
  QString Text(int code) const {
    const qsizetype index = qsizetype{code} - first;
    return index >= 0 && index < texts.size() ? texts.at(index) : QString();
  }
};

const CodeTable& SourceTypes() {
  static const CodeTable table{1, {QStringLiteral("Valued List"), QStringLiteral("Another Profile")}};
  return table;
}

const CodeTable& Alignments() {
  static const CodeTable table{0, {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")}};
  return table;
}

const CodeTable& FontStyles() {
  static const CodeTable table{
      0, {QStringLiteral("Regular"), QStringLiteral("Italic"), QStringLiteral("Bold"), QStringLiteral("Bold Italic")}};
  return table;
}

const CodeTable& FontFaces() {
  static const CodeTable table{0,
                               {QStringLiteral("Verdana"), QStringLiteral("Times New Roman"), QStringLiteral("Tahoma"),
                                QStringLiteral("Arial"), QStringLiteral("Century"),
                                QStringLiteral("Microsoft Sans Serif")}};
  return table;
}

const CodeTable& DateFormats() {
  static const CodeTable table{1, {QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Date & Time")}};
  return table;
}

DateTimeClock& Clock() {
  static DateTimeClock clock;
  return clock;
}

QDateTime Now() { return Clock() ? Clock()() : QDateTime::currentDateTime(); }

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

int GetSourceTypeCode(const QString& text) { return SourceTypes().Code(text); }
QString GetSourceTypeText(int code) { return SourceTypes().Text(code); }
int GetAlignCode(const QString& text) { return Alignments().Code(text); }
QString GetAlignmentText(int code) { return Alignments().Text(code); }
int GetFontStyleCode(const QString& text) { return FontStyles().Code(text); }
int GetFontFaceCode(const QString& text) { return FontFaces().Code(text); }
QString GetFontNameText(int code) { return FontFaces().Text(code); }
int GetDateFormatCode(const QString& text) { return DateFormats().Code(text); }
QString GetDateFormatText(int code) { return DateFormats().Text(code); }

QString GetCurrentDateTimeText(int format) {
  const QDateTime now = Now();
  switch (format) {
    case 1: return DateText(now.date());
    case 2: return TimeText(now.time());
    case 3: return DateText(now.date()) + u' ' + TimeText(now.time());
    default: return {};
  }
}

void SetDateTimeClock(DateTimeClock clock) { Clock() = std::move(clock); }

QString FormatRgbText(int red, int green, int blue) {
  return QStringLiteral("<R:%1><G:%2><B:%3>").arg(red).arg(green).arg(blue);
}
