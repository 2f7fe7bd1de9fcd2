#include "shared/WorkbookEmptyRows.h"

#include "platform/files/FileCopy.h"
#include "platform/os/SystemError.h"
#include "platform/workbook/Workbook.h"
#include "shared/WorkbookFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

using Log = std::function<void(const QString&)>;

int32_t UsedColumnCount(const platform::Worksheet& sheet) {
  return std::min<int32_t>(sheet.ColumnCount(), INT16_MAX);
}

// The rows of one worksheet that are empty in every used column, deleted; the row that moves up
// is tested next.
void DeleteEmptyRows(platform::Worksheet* sheet, const Log& log) {
  int deleted = 0;
  int extraColumns = 0;
  int32_t rowCount = sheet->RowCount();
  for (int32_t row = 0; row < rowCount; ++row) {
    bool extraColumn = false;
    if (!IsWorksheetRowEmpty(*sheet, row, UsedColumnCount(*sheet), &extraColumn)) continue;
    if (extraColumn) ++extraColumns;
    sheet->DeleteRow(row);
    --rowCount;
    --row;
    ++deleted;
  }
  log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <4> Empty Rows in \"%1\" sheet : %2").arg(sheet->Name()).arg(deleted));
  if (extraColumns > 0)
    log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <4.1> Sheet \"%1\" contains extra empty column : %2")
            .arg(sheet->Name())
            .arg(extraColumns));
}

// The same file: copying it onto itself would delete it first.
bool IsSameFile(const QString& a, const QString& b) {
  const QFileInfo first(a);
  return first.exists() && first.canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

bool CopyWorkbook(const QString& folder, const QString& from, const QString& to) {
  if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
  return IsSameFile(from, to) || platform::CopyFileReplacing(from, to);
}

}  // namespace

bool IsWorksheetRowEmpty(const platform::Worksheet& sheet, int32_t row, int32_t columnCount, bool* extraColumn) {
  const int64_t blanks = sheet.BlankCount(row, row);
  *extraColumn = blanks > columnCount;
  return blanks >= columnCount;
}

bool DeleteEmptyRowsInWorkbookCopy(QString* path, const QString& copyName, const Log& log) {
  log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <1> Start"));
  const QString folder = WorkbookTempFolder();
  const QString copyPath = folder + u'/' + copyName;
  const bool copied = CopyWorkbook(folder, *path, copyPath);
  if (!copied) {
    log(QStringLiteral("CopyFile ErrorCode : %1").arg(platform::GetLastError()));
    // Nothing of an earlier run may be read in place of the failed copy.
    QFile::remove(copyPath);
  }
  *path = copyPath;
  if (!copied) return false;
  log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <2> Temp File Created."));
  QString reason;
  std::unique_ptr<platform::Workbook> workbook = platform::Workbook::Open(copyPath, false, &reason);
  if (!workbook) log(QStringLiteral("The workbook copy %1 was not opened: %2").arg(copyPath, reason));
  log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <3> Deleting Empty Rows..."));
  if (workbook) {
    for (int index = 0; index < workbook->WorksheetCount(); ++index) DeleteEmptyRows(workbook->WorksheetAt(index), log);
  }
  log(QStringLiteral("<DeleteEmptyRowsInExcelSheets> <5> End"));
  if (workbook && !workbook->Save(&reason)) log(reason);
  return true;
}
