#pragma once

#include "platform/workbook/WorkbookContent.h"

#include <QByteArray>
#include <QString>

namespace platform {

// The package of a workbook: the stored package with the changed sheets rewritten and every
// other part as it was, or, for a workbook read from another format, a new .xlsx package.
class XlsxWriter {
 public:
  static bool Write(const WorkbookContent& content, QByteArray* package, QString* error);
};

}  // namespace platform
