#pragma once

#include "platform/workbook/Worksheet.h"

#include <QByteArray>
#include <QString>

namespace platform {

// The XML of a worksheet part after its cells changed. Everything of the stored part but the
// cell data stays (columns, views, page set-up, ...); stored cells go back as they were stored
// (formulas included) under their new references; the dimension and the merged ranges follow
// the deleted rows. An empty `stored` gives a new part.
bool WriteSheetXml(const QByteArray& stored, const Worksheet& sheet, QByteArray* result, QString* error);

}  // namespace platform
