#pragma once

#include "platform/workbook/WorkbookStyles.h"
#include "platform/workbook/Worksheet.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace platform {

// What a workbook reader builds and a writer stores. It stays where it was made: each sheet
// points at the styles.
struct WorkbookContent {
  WorkbookStyles styles;
  std::vector<std::unique_ptr<Worksheet>> sheets;
  // An .xlsx or .xlsm: the package as read, and each sheet's part and stored XML; empty for a
  // workbook read from another format, which is stored as a new .xlsx package.
  QByteArray package;
  std::vector<QString> sheetParts;
  std::vector<QByteArray> sheetXml;
};

}  // namespace platform
