#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The questions the profile and user dialogs ask of the settings database. A status row is
// live unless its flag is "D" (StatusFlags.h). A query that fails answers 0 or an empty text.
// User identifiers and profile names are matched exactly, whatever quotes they hold.

// The first live flag of the profile's status rows and 1; 0 when none is live.
int GetProfileStatusFlag(QString* flag, const admin::CDatabseConnection& connection, int32_t profileId);
// 1 when any status row of the profile is live.
int IsProfileAssigned(const admin::CDatabseConnection& connection, int32_t profileId);
// The number of live status rows of the profile.
int CountProfileAssignments(const admin::CDatabseConnection& connection, int32_t profileId);
// 1 when any status row of the user is live.
int UserHasProfiles(const admin::CDatabseConnection& connection, const QString& userId);
// 1 when exactly one status row of the user for the profile is live.
int IsProfileAssignedToUser(const admin::CDatabseConnection& connection, const QString& userId, int32_t profileId);
// 1 when any status row of a stored profile is live.
int AnyProfileAssigned(const admin::CDatabseConnection& connection);
// 1 when a profile of that name is stored.
int FindProfileByName(const admin::CDatabseConnection& connection, const QString& profileName);
// The number of the first profile of that name; 0 when there is none.
int32_t GetProfileIDByName(const admin::CDatabseConnection& connection, const QString& profileName);
// The highest ProfileID that ProfileInfo or UserProfileStatus holds (0 when neither holds one);
// -1 when either cannot be read.
int32_t GetHighestUsedProfileID(const admin::CDatabseConnection& connection);
// The name of the profile; empty when there is none. `settings` is the application's settings
// connection.
QString GetProfileName(const admin::CDatabseConnection& settings, int32_t profileId);
// Appends the profiles whose one live assignment is to this user (those left without users when
// the user goes); 1 when it appended any.
int GetProfilesOnlyOfUser(const QString& userId, QList<int32_t>* profiles, const admin::CDatabseConnection& connection);
