#pragma once

#include "platform/workbook/WorkbookContent.h"

#include <QString>

namespace platform {

// Reads an .xls workbook (BIFF) through libfreexl: the worksheets in order with their cells.
// libfreexl tells numbers, texts and dates apart but not number formats, so numbers show as
// General and dates, date-times and times under m/d/yyyy, m/d/yyyy h:mm and h:mm:ss.
class XlsReader {
 public:
  static bool Read(const QString& path, WorkbookContent* content, QString* error);
};

}  // namespace platform
