#pragma once

#include "platform/standin/StandInTable.h"

#include <QList>
#include <QString>

namespace platform {

// Reads every worksheet of a workbook as a table, as the Windows Excel driver shows it: named
// "<sheet>$", the first row naming the columns, the cells below as the spreadsheet displays
// them (an empty cell is NULL), typed by those texts. False, with why in `error`, when the
// workbook cannot be opened (missing, damaged, or a format the model does not read).
bool ReadWorkbookTables(const QString& path, QList<StandInTable>* tables, QString* error);

}  // namespace platform
