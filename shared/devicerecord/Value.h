#pragma once

#include "shared/devicerecord/Timestamp.h"

#include <QString>

#include <cstdint>

namespace devicerecord {

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

}  // namespace devicerecord
