#include "platform/workbook/Worksheet.h"

#include "platform/files/AtomicFile.h"
#include "platform/workbook/CellReference.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/SheetTextExport.h"

#include <algorithm>

namespace platform {
namespace {

bool WithinSheet(int32_t row, int32_t column) {
  return row >= 0 && row < kSheetRowLimit && column >= 0 && column < kSheetColumnLimit;
}

auto ColumnLess() {
  return [](const WorksheetCell& cell, int32_t column) { return cell.column < column; };
}

QString DisplayedText(const WorksheetCell& cell, const WorkbookStyles& styles) {
  switch (cell.kind) {
    case WorksheetCell::Kind::Number:
      return FormatCellNumber(cell.number, styles.FormatOf(cell.style), styles.date1904);
    case WorksheetCell::Kind::Text: return FormatCellText(cell.text, styles.FormatOf(cell.style));
    case WorksheetCell::Kind::Boolean:
      return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case WorksheetCell::Kind::Error: return cell.text;
    case WorksheetCell::Kind::Blank: break;
  }
  return {};
}

// The columns up to the row's last used cell; 0 for a row without one.
int32_t UsedWidth(const WorksheetRow& row) {
  const auto& cells = row.cells;
  const auto last =
      std::find_if(cells.rbegin(), cells.rend(), [](const WorksheetCell& c) { return c.IsUsed(); });
  return last == cells.rend() ? 0 : last->column + 1;
}

}  // namespace

bool IsAllowedSheetName(const QString& name) {
  if (name.isEmpty() || name.size() > 31) return false;
  return std::none_of(name.begin(), name.end(),
                      [](QChar c) { return c.unicode() < 0x20 || QStringView(u"\\/?*[]:").contains(c); });
}

Worksheet::Worksheet(QString name, const WorkbookStyles* styles) : name_(std::move(name)), styles_(styles) {}

void Worksheet::MeasureUsedRange() const {
  if (measured_) return;
  rowCount_ = 0;
  columnCount_ = 0;
  for (size_t row = 0; row < rows_.size(); ++row) {
    const int32_t width = UsedWidth(rows_[row]);
    if (width == 0) continue;
    rowCount_ = static_cast<int32_t>(row) + 1;
    columnCount_ = std::max(columnCount_, width);
  }
  measured_ = true;
}

int32_t Worksheet::RowCount() const {
  MeasureUsedRange();
  return rowCount_;
}

int32_t Worksheet::ColumnCount() const {
  MeasureUsedRange();
  return columnCount_;
}

const WorksheetCell* Worksheet::FindCell(int32_t row, int32_t column) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
  const auto& cells = rows_[static_cast<size_t>(row)].cells;
  const auto found = std::lower_bound(cells.begin(), cells.end(), column, ColumnLess());
  return found != cells.end() && found->column == column ? &*found : nullptr;
}

QString Worksheet::CellText(int32_t row, int32_t column) const {
  const WorksheetCell* cell = FindCell(row, column);
  return cell == nullptr ? QString() : DisplayedText(*cell, *styles_);
}

QString Worksheet::Text(QStringView reference) const {
  int32_t row = 0;
  int32_t column = 0;
  return ParseCellReference(reference, &row, &column) ? CellText(row, column) : QString();
}

int64_t Worksheet::BlankCount(int32_t firstRow, int32_t lastRow) const {
  const int32_t columns = ColumnCount();
  if (firstRow < 0 || lastRow < firstRow) return 0;
  int64_t blanks = int64_t{lastRow - firstRow + 1} * columns;
  for (int32_t row = firstRow; row <= lastRow && static_cast<size_t>(row) < rows_.size(); ++row)
    for (const WorksheetCell& cell : rows_[static_cast<size_t>(row)].cells)
      if (cell.HasValue() && cell.column < columns) --blanks;
  return blanks;
}

bool Worksheet::DeleteRow(int32_t row) {
  if (!WithinSheet(row, 0)) return false;
  MeasureUsedRange();
  if (static_cast<size_t>(row) < rows_.size()) {
    // Deleting a row above the last used one that is not the widest shortens the used range
    // by one row, with no need to measure it again (the clean-up deletes many such rows).
    const bool measureKept = row < rowCount_ - 1 && UsedWidth(rows_[static_cast<size_t>(row)]) < columnCount_;
    rows_.erase(rows_.begin() + row);
    if (measureKept) --rowCount_;
    measured_ = measureKept;
  }
  deletedRows_.push_back(row);
  modified_ = true;
  return true;
}

WorksheetRow* Worksheet::EnsureRow(int32_t row) {
  if (static_cast<size_t>(row) >= rows_.size()) rows_.resize(static_cast<size_t>(row) + 1);
  return &rows_[static_cast<size_t>(row)];
}

bool Worksheet::WriteCell(int32_t row, int32_t column, const QString& text) {
  if (!WithinSheet(row, column)) return false;
  auto& cells = EnsureRow(row)->cells;
  auto at = std::lower_bound(cells.begin(), cells.end(), column, ColumnLess());
  if (at == cells.end() || at->column != column) {
    at = cells.insert(at, WorksheetCell{});
    at->column = column;
  }
  at->kind = text.isEmpty() ? WorksheetCell::Kind::Blank : WorksheetCell::Kind::Text;
  at->text = text;
  at->number = 0;
  at->sourceIndex = -1;
  modified_ = true;
  measured_ = false;
  return true;
}

bool Worksheet::AddCell(int32_t row, int32_t rowSourceIndex, const WorksheetCell& cell) {
  WorksheetRow* target = EnsureRow(row);
  if (target->sourceIndex < 0) target->sourceIndex = rowSourceIndex;
  auto& cells = target->cells;
  const auto at = std::lower_bound(cells.begin(), cells.end(), cell.column, ColumnLess());
  if (at != cells.end() && at->column == cell.column) return false;
  cells.insert(at, cell);
  measured_ = false;
  return true;
}

bool Worksheet::SaveAsUnicodeText(const QString& path, QString* error) const {
  if (ReplaceFileAtomically(path, UnicodeTextOf(*this))) return true;
  *error = QStringLiteral("The sheet \"%1\" could not be written to %2.").arg(name_, path);
  return false;
}

}  // namespace platform
