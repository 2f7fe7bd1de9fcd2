#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// A stored profile as the form designer works on it: its number, its kind (ProfileType: 0
// table, 1 view, 2 stored procedure) and the names and SQL type names ("SQL_VARCHAR", ...) of
// its query's columns, index for index.
struct DesignerProfile {
  int32_t ProfileID = 0;
  int32_t ProfileType = 0;
  QStringList ColumnNames;
  QStringList ColumnTypes;
};

// Reads the profile of that name from the settings database, opens its source (a workbook is
// exported afresh first) and runs its query for the columns. 1 when it did, 0 when the profile
// is missing or its source or query failed (the reason is in the log).
int LoadProfileForDesigner(const admin::CDatabseConnection& settings, const QString& profileName, DesignerProfile* profile);
