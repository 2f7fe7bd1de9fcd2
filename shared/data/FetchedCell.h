#pragma once

#include "shared/devicerecord/DeviceRecord.h"

#include <sql.h>

#include <QString>

#include <cstdint>

namespace data {

// One value as a fetch left it: its column kind, the length the driver reported cut to what the
// buffer holds (SQL_NULL_DATA for NULL), and the buffer.
struct FetchedCell {
  int16_t kind = 0;
  SQLLEN length = SQL_NULL_DATA;
  const char* data = nullptr;
  SQLLEN capacity = 0;

  devicerecord::Value Value() const;
  // The display text; empty for a value without a buffer.
  QString DisplayText() const;
};

}  // namespace data
