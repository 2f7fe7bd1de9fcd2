#pragma once

#include <QString>

// Files and processes as the sync program's passes need them.

// True when the file cannot be opened for writing (missing, or refused), or when an office suite
// has it open (its lock file ".~lock.<name>#" or "~$<name>" is beside it); false otherwise.
bool IsFileLocked(const QString& path);

namespace syncservice {

// Deletes the workbook copies in the Temp Files folder of the installation under the user's
// documents folder, except "schema.ini" and the "New_" files; nothing happens without that folder.
// The administration program's twin deletes the "New_" files only: the copies are its exports.
void DeleteTempExcelCopies();

}  // namespace syncservice

// Single-instance test: true when another process of the program runs with this machine root.
// Takes the program's instance lock, which this process then holds until it ends. When the
// lock cannot be used, logs why (code 202) and answers false.
bool IsProcessRunningTwice(const QString& executableName);
