#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

// What a workbook tells about showing its numbers: the number format code of each cell format
// and the date system.
struct WorkbookStyles {
  std::vector<QString> formats;
  bool date1904 = false;

  QString FormatOf(uint32_t style) const {
    return style < formats.size() ? formats[style] : QStringLiteral("General");
  }
};

}  // namespace platform
