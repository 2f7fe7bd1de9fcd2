#pragma once

#include <QList>
#include <QString>

namespace admin { class CDatabseConnection; }

// One profile of a device user as the user lists show it.
struct UserProfileEntry {
  QString name;
  // The data source name for a named source or an accdb file, else the folder and the file.
  QString source;
  QString query;
};

// The profiles the user has live status rows for, in the order of those rows; nothing for an
// empty PIN. `settings` is the application's settings connection.
QList<UserProfileEntry> GetUserProfileEntries(const admin::CDatabseConnection& settings, const QString& pin);
