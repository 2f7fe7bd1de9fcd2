#pragma once

#include "shared/odbc/OdbcDiagnostics.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace admin {

// How the box of a failure looks: the plain box, or the box with the error icon.
enum class FailureLook : uint8_t { Plain, Error };

// One failure of the data layer that the user is told of. `code` is what the failing function
// answers; `logLocation` the location of the log line that repeats `text` (none when the failure
// writes no line of its own); `diagnostic` the ODBC record behind it, when there is one.
struct Failure {
  int code = 0;
  std::optional<int> logLocation;
  QString text;
  FailureLook look = FailureLook::Plain;
  std::optional<OdbcDiagRecord> diagnostic;
};

}  // namespace admin
