#include "platform/workbook/XlsReader.h"

#include "platform/workbook/SerialDateTime.h"

#include <freexl.h>

#include <QDate>
#include <QTime>

#include <memory>

namespace platform {
namespace {

// The cell formats of a workbook read from .xls, in the order of the styles below.
enum XlsStyle : uint32_t { kGeneral, kDate, kDateTime, kTime };

struct HandleCloser {
  void operator()(const void* handle) const { freexl_close(handle); }
};
using XlsHandle = std::unique_ptr<const void, HandleCloser>;

QString FreexlErrorText(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("the file does not exist");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("not enough memory");
    case FREEXL_BIFF_ILLEGAL_SST_INDEX: return QStringLiteral("a shared-string index is out of range");
    case FREEXL_INVALID_CHARACTER: return QStringLiteral("a text is not valid in its character set");
    case FREEXL_UNSUPPORTED_CHARSET: return QStringLiteral("its character set is not supported");
    default: return QStringLiteral("the file is damaged or no .xls workbook (libfreexl error %1)").arg(code);
  }
}

bool Fail(QString* error, int code) {
  *error = FreexlErrorText(code);
  return false;
}

// libfreexl gives dates as "YYYY-MM-DD", date-times as "YYYY-MM-DD HH:MM:SS", times as
// "HH:MM:SS"; they go back to serial numbers under a matching format.
bool DateCell(const FreeXL_CellValue& value, WorksheetCell* cell) {
  const QString text = QString::fromUtf8(value.value.text_value);
  const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
  const QTime time = QTime::fromString(text.right(8), QStringLiteral("HH:mm:ss"));
  const int seconds = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0;
  cell->kind = WorksheetCell::Kind::Number;
  if (value.type == FREEXL_CELL_TIME) {
    cell->style = kTime;
    cell->number = seconds / 86400.0;
    return time.isValid();
  }
  cell->style = value.type == FREEXL_CELL_DATE ? kDate : kDateTime;
  cell->number = SerialOfDateTime(date, seconds);
  return date.isValid();
}

bool ToCell(const FreeXL_CellValue& value, WorksheetCell* cell) {
  switch (value.type) {
    case FREEXL_CELL_INT:
      cell->kind = WorksheetCell::Kind::Number;
      cell->number = value.value.int_value;
      return true;
    case FREEXL_CELL_DOUBLE:
      cell->kind = WorksheetCell::Kind::Number;
      cell->number = value.value.double_value;
      return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      cell->kind = WorksheetCell::Kind::Text;
      cell->text = QString::fromUtf8(value.value.text_value);
      return true;
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return DateCell(value, cell);
    default: return true;
  }
}

bool ReadSheetCells(const void* handle, Worksheet* sheet, QString* error) {
  unsigned int rows = 0;
  unsigned short columns = 0;
  int result = freexl_worksheet_dimensions(handle, &rows, &columns);
  if (result != FREEXL_OK) return Fail(error, result);
  for (unsigned int row = 0; row < rows; ++row) {
    for (unsigned short column = 0; column < columns; ++column) {
      FreeXL_CellValue value;
      result = freexl_get_cell_value(handle, row, column, &value);
      if (result != FREEXL_OK) return Fail(error, result);
      WorksheetCell cell;
      cell.column = column;
      if (!ToCell(value, &cell)) {
        *error = QStringLiteral("sheet \"%1\": a date cannot be read").arg(sheet->Name());
        return false;
      }
      if (cell.HasValue()) sheet->AddCell(static_cast<int32_t>(row), -1, cell);
    }
  }
  return true;
}

bool ReadSheets(const void* handle, WorkbookContent* content, QString* error) {
  unsigned int count = 0;
  int result = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
  if (result != FREEXL_OK) return Fail(error, result);
  for (unsigned int index = 0; index < count && index <= 0xFFFF; ++index) {
    const auto sheetIndex = static_cast<unsigned short>(index);
    const char* name = nullptr;
    result = freexl_get_worksheet_name(handle, sheetIndex, &name);
    if (result == FREEXL_OK) result = freexl_select_active_worksheet(handle, sheetIndex);
    if (result != FREEXL_OK) return Fail(error, result);
    const QString sheetName = QString::fromUtf8(name);
    if (!IsAllowedSheetName(sheetName)) {
      *error = QStringLiteral("the sheet name \"%1\" is not allowed").arg(sheetName);
      return false;
    }
    auto sheet = std::make_unique<Worksheet>(sheetName, &content->styles);
    if (!ReadSheetCells(handle, sheet.get(), error)) return false;
    content->sheets.push_back(std::move(sheet));
  }
  return true;
}

}  // namespace

bool XlsReader::Read(const QString& path, WorkbookContent* content, QString* error) {
  const void* raw = nullptr;
  const int result = freexl_open(path.toUtf8().constData(), &raw);
  XlsHandle handle(raw);
  if (result != FREEXL_OK) return Fail(error, result);
  unsigned int password = 0;
  if (freexl_get_info(raw, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
      password == FREEXL_BIFF_OBFUSCATED) {
    *error = QStringLiteral("the workbook is protected by a password, which is not supported");
    return false;
  }
  content->styles.formats = {QStringLiteral("General"), QStringLiteral("m/d/yyyy"),
                             QStringLiteral("m/d/yyyy h:mm"), QStringLiteral("h:mm:ss")};
  return ReadSheets(raw, content, error);
}

}  // namespace platform
