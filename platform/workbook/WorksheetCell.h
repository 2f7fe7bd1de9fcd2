#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

// One stored cell of a worksheet.
struct WorksheetCell {
  enum class Kind : uint8_t { Blank, Number, Text, Boolean, Error };

  int32_t column = 0;
  Kind kind = Kind::Blank;
  uint32_t style = 0;  // index into the workbook's cell formats
  double number = 0;   // Number, and Boolean as 0 or 1
  QString text;        // Text, and the code of an Error ("#N/A")
  // The cell's element in the stored sheet, kept as it was on save; -1 once written.
  int32_t sourceIndex = -1;

  bool HasValue() const { return kind != Kind::Blank; }
  // A cell that only carries formatting still counts towards the used range.
  bool IsUsed() const { return HasValue() || style != 0; }
};

// One row of a worksheet; cells in ascending columns.
struct WorksheetRow {
  std::vector<WorksheetCell> cells;
  int32_t sourceIndex = -1;  // the row's element in the stored sheet, -1 when new
};

}  // namespace platform
