#pragma once

#include <QString>

// The stand-ins for the Windows Excel, Text and dBase drivers: a data source name registered
// under one of them is served by the SQLite driver from a temporary database in the machine
// root's run folder, loaded from the desktop file (or every text or dBase file of the folder)
// with one table per sheet or file under the name the Windows driver gives it. The database is
// opened read-only, so a write fails with the SQLite driver's error.
namespace platform {

bool IsStandInDriver(const QString& windowsDriver);

// Loads `path` for the data source name `name` and gives the SQLite database text for its
// Database entry. A load of the same name whose files all keep their identity, size and times
// is reused, once it was made more than the file system's time step after their last write.
// False, with why in `error`, when a file is missing or cannot be read; nothing is written then.
bool LoadStandIn(const QString& name, const QString& windowsDriver, const QString& path, QString* database,
                 QString* error);

// Deletes the temporary database that a Database entry names, when it is a stand-in's.
void DeleteStandIn(const QString& database);

}  // namespace platform
