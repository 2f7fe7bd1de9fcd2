#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// The largest sheet a workbook may hold: 1,048,576 rows and 16,384 columns ("XFD").
inline constexpr int32_t kSheetRowLimit = 1048576;
inline constexpr int32_t kSheetColumnLimit = 16384;

// The letters of a zero-based column: 0 "A", 25 "Z", 26 "AA", 701 "ZZ", 702 "AAA".
QString ColumnLetters(int32_t column);

// "B7" for zero-based row 6, column 1.
QString CellReference(int32_t row, int32_t column);

// Reads an A1 reference ("$" marks allowed) into a zero-based row and column; false when the
// text is no reference or names a cell beyond the sheet limits.
bool ParseCellReference(QStringView reference, int32_t* row, int32_t* column);

}  // namespace platform
