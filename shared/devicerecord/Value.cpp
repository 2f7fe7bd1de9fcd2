#include "shared/devicerecord/Value.h"

namespace devicerecord {

Value Value::Null(int16_t kind) {
  Value value(kind);
  value.isNull = true;
  return value;
}

Value Value::OfText(int16_t kind, const QString& text) {
  Value value(kind);
  value.text = text;
  return value;
}

Value Value::OfInteger(int16_t kind, int32_t integer) {
  Value value(kind);
  value.integer = integer;
  return value;
}

Value Value::OfReal(int16_t kind, double real) {
  Value value(kind);
  value.real = real;
  return value;
}

Value Value::OfTimestamp(int16_t kind, const Timestamp& timestamp) {
  Value value(kind);
  value.timestamp = timestamp;
  return value;
}

}  // namespace devicerecord
