#include "shared/devicerecord/Timestamp.h"

namespace devicerecord {

Timestamp Timestamp::Of(int year, int month, int day, int hour, int minute, int second, uint32_t fraction) {
  Timestamp t;
  t.year = static_cast<int16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  t.fraction = fraction;
  return t;
}

bool Timestamp::IsAllZero() const { return *this == Timestamp{}; }

}  // namespace devicerecord
