#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// A row as it travels between the desktop and the devices: a big-endian 16-bit offset per
// supported column, then each column's value in the form of its kind, with nothing between.
namespace devicerecord {

// The 16-byte timestamp form of dates, times and timestamps (each field big-endian).
struct Timestamp {
  int16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint32_t fraction = 0;

  static Timestamp Of(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                      uint32_t fraction = 0);
  bool IsAllZero() const;
  bool operator==(const Timestamp&) const = default;
};

// One column's value; `kind` is the column kind code (1 text, 2 decimal as text, 4 int32,
// 5 int16, 7 single, 8 double, 9 date, 10 time, 93 timestamp, -6 tiny integer, -7 bit).
// A NULL value has `isNull` set and travels as the zero form of its kind.
struct Value {
  explicit Value(int16_t kindCode = 0) : kind(kindCode) {}

  int16_t kind = 0;
  bool isNull = false;
  QString text;
  int32_t integer = 0;  // kinds 4, 5, -6, -7
  double real = 0;      // kinds 7, 8
  Timestamp timestamp;  // kinds 9, 10, 93

  static Value Null(int16_t kind);
  static Value OfText(int16_t kind, const QString& text);
  static Value OfInteger(int16_t kind, int32_t integer);
  static Value OfReal(int16_t kind, double real);
  static Value OfTimestamp(int16_t kind, const Timestamp& timestamp);

  bool operator==(const Value&) const = default;
};

// Texts travel without carriage returns, with each tab as five blanks, at most this many
// UTF-16 units (a surrogate pair is never split), then a 0 unit.
inline constexpr qsizetype kMaxTextUnits = 16382;

// The text as a device record carries it.
QString DeviceText(const QString& text);

// What the readers of rows answer for a row that was read but cannot be encoded as a device
// record (a text too long for it): its digest is given, its record is not.
inline constexpr int kRecordNotEncodable = -1;

// The record of the values, in column order. Nothing when a value would start beyond byte
// 65,535, where a 16-bit offset cannot reach it.
std::optional<QByteArray> Encode(const QList<Value>& values);

// The values of a received record whose entries belong, in order, to columns of `kinds` (the
// supported columns of the result). Every offset and value is checked against the record: an
// offset table that does not match the kinds, an offset outside the values, a value that runs
// past the end or a kind that cannot travel gives nothing and a reason in `error`. Texts end at
// their 0 unit or at the record's end; a text of no units is read as NULL.
std::optional<QList<Value>> Decode(QByteArrayView record, const QList<int16_t>& kinds, QString* error);

// Bytes of a value of `kind` in a record, texts aside; 0 for texts and kinds that cannot travel.
int FixedSize(int16_t kind);

}  // namespace devicerecord
