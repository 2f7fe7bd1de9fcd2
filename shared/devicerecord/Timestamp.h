#pragma once

#include <cstdint>

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

}  // namespace devicerecord
