#include "platform/workbook/CellReference.h"

#include <algorithm>

namespace platform {

QString ColumnLetters(int32_t column) {
  QString letters;
  for (int64_t rest = int64_t{column} + 1; rest > 0; rest = (rest - 1) / 26)
    letters.append(QChar(u'A' + static_cast<char16_t>((rest - 1) % 26)));
  std::reverse(letters.begin(), letters.end());
  return letters;
}

QString CellReference(int32_t row, int32_t column) {
  return ColumnLetters(column) + QString::number(int64_t{row} + 1);
}

bool ParseCellReference(QStringView reference, int32_t* row, int32_t* column) {
  qsizetype at = 0;
  const auto skipDollar = [&] {
    if (at < reference.size() && reference[at] == u'$') ++at;
  };
  skipDollar();
  int64_t columnNumber = 0;
  const qsizetype lettersStart = at;
  for (; at < reference.size() && reference[at].toUpper() >= u'A' && reference[at].toUpper() <= u'Z'; ++at) {
    columnNumber = columnNumber * 26 + (reference[at].toUpper().unicode() - u'A' + 1);
    if (columnNumber > kSheetColumnLimit) return false;
  }
  if (at == lettersStart) return false;
  skipDollar();
  int64_t rowNumber = 0;
  const qsizetype digitsStart = at;
  for (; at < reference.size() && reference[at] >= u'0' && reference[at] <= u'9'; ++at) {
    rowNumber = rowNumber * 10 + (reference[at].unicode() - u'0');
    if (rowNumber > kSheetRowLimit) return false;
  }
  if (at == digitsStart || at != reference.size() || rowNumber == 0) return false;
  *row = static_cast<int32_t>(rowNumber - 1);
  *column = static_cast<int32_t>(columnNumber - 1);
  return true;
}

}  // namespace platform
