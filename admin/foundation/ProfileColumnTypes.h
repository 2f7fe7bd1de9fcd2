#pragma once

#include "shared/data/ProfileRecord.h"

#include <QStringList>

// Opens the profile's source (a workbook read as text is cleaned and exported again first), runs
// its query and appends the name and SQL type name ("SQL_CHAR", ...) of each result column. 1
// when the source opened and the query ran, else 0.
int GetProfileColumnTypes(QStringList* names, QStringList* types, const ProfileRecord& profile);
