#pragma once

#include "shared/data/ProfileRecord.h"

#include <QString>

// What back synchronisation reads from a profile's settings before it touches the profile's data.

// Whether the profile's UserList (DeviceIDs separated by ",") names `deviceId` exactly; an empty
// DeviceID is never named.
bool UserListNamesDevice(const QString& userList, const QString& deviceId);

// A profile read through the workbook model: kind 8, or a source copied before it is read.
bool IsWorkbookProfileRecord(const ProfileRecord& profile);

// The worksheet a workbook profile's query reads: after its FROM, the text between the first
// double quote and the next "." (the query names the sheet's exported text file). Empty when the
// query names none.
QString WorksheetNameOfQuery(const QString& query);
