#pragma once

#include <QStringList>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// Which columns of a profile the stored forms depend on, so that an edited profile query keeps
// them. Each reads the stored form texts afresh on the application's settings connection
// `settings` and does nothing while it is not connected. Names are compared exactly.

// Appends, without repeating a name `columns` holds, the data columns the profile's forms use:
// those of their mapped controls and of their radio groups.
void GetFormMappedColumns(const admin::CDatabseConnection& settings, int32_t profileId, QStringList* columns);
// Appends the data columns of the mapped controls on the tabs of one form (repeats kept): text
// boxes, check boxes, combo boxes, date/time fields and formula and conditional fields stored in
// a column, each with a data column.
void GetFormTabMappedColumns(const admin::CDatabseConnection& settings, int32_t formId, QStringList* columns);
// Appends, without repeating a name `columns` holds, the columns of the profile that combo boxes
// of any form look up.
void GetLookupColumns(const admin::CDatabseConnection& settings, int32_t profileId, QStringList* columns);
// Appends the lookup column and then the shown column of every combo box in all stored tabs that
// looks up the profile (repeats kept).
void GetFormLookupColumns(const admin::CDatabseConnection& settings, QStringList* columns, int32_t profileId);
