#pragma once

#include "platform/workbook/WorkbookContent.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Reads an .xlsx or .xlsm package: the worksheets in order with their cells, the number
// formats and the date system. Every fault (damaged package, broken XML, a shared-string index
// out of range, a cell beyond the sheet limits, an oversized part) fails the whole read with a
// text saying what is wrong; an .xlsb package is refused as not supported.
class XlsxReader {
 public:
  static bool Read(const QByteArray& package, WorkbookContent* content, QString* error);
};

}  // namespace platform
