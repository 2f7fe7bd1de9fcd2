#include "platform/workbook/WorkbookTables.h"

#include "platform/workbook/Workbook.h"

#include <QFileInfo>

#include <algorithm>

namespace platform {
namespace {

// The used cells, as the Windows driver reads a sheet: from the first row and the first column
// that hold a value, to the end of the used range.
struct UsedCells {
  int32_t firstRow;
  int32_t firstColumn;
};

UsedCells FindUsedCells(const Worksheet& sheet) {
  UsedCells used{sheet.RowCount(), sheet.ColumnCount()};
  for (int32_t row = 0; row < sheet.RowCount(); ++row) {
    for (int32_t column = 0; column < used.firstColumn; ++column) {
      if (sheet.CellText(row, column).isEmpty()) continue;
      used.firstRow = std::min(used.firstRow, row);
      used.firstColumn = column;
    }
  }
  return used;
}

QStringList RowTexts(const Worksheet& sheet, int32_t row, int32_t firstColumn) {
  QStringList texts;
  for (int32_t column = firstColumn; column < sheet.ColumnCount(); ++column) {
    const QString text = sheet.CellText(row, column);
    texts.append(text.isEmpty() ? QString() : text);
  }
  return texts;
}

StandInTable SheetTable(const Worksheet& sheet) {
  StandInTable table{sheet.Name() + u'$', {}, {}, {}};
  const UsedCells used = FindUsedCells(sheet);
  if (used.firstRow < sheet.RowCount()) {
    table.columns = UniqueColumnNames(RowTexts(sheet, used.firstRow, used.firstColumn));
  }
  for (int32_t row = used.firstRow + 1; row < sheet.RowCount(); ++row) {
    table.rows.append(RowTexts(sheet, row, used.firstColumn));
  }
  TypeColumnsByValues(&table);
  return table;
}

}  // namespace

bool ReadWorkbookTables(const QString& path, QList<StandInTable>* tables, QString* error) {
  QString problem;
  const std::unique_ptr<Workbook> workbook = Workbook::Open(path, true, &problem);
  if (!workbook) {
    *error = QStringLiteral("The workbook %1 cannot be read: %2").arg(QFileInfo(path).fileName(), problem);
    return false;
  }
  for (int index = 0; index < workbook->WorksheetCount(); ++index) {
    tables->append(SheetTable(*workbook->WorksheetAt(index)));
  }
  return true;
}

}  // namespace platform
