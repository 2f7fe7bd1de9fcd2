#pragma once

#include "platform/standin/StandInTable.h"

#include <QList>
#include <QString>

namespace platform {

// Writes the tables into a new SQLite database at `path`: a temporary file beside it first,
// renamed over `path` when complete, so a database found at `path` is always a whole load.
// Integer and Double values are stored as numbers, Text as text, NULL as NULL. False, with why
// in `error`, when the tables cannot be written (two tables of one name, a full disk).
bool WriteStandInDatabase(const QString& path, const QList<StandInTable>& tables, QString* error);

}  // namespace platform
