#pragma once

#include "setup/common/SetupLog.h"

#include <QString>

// Deletions of the setup programs that never fail their caller: each failure is logged with the
// path ("Problem in deleting file : ", "Problem in deleting directory : ") and the work goes on.

// Deletes every file directly in `folder` (subfolders and their files stay).
void DeleteFolderFiles(const QString& folder, const SetupLogSink& log);

void DeleteSetupFile(const QString& path, const SetupLogSink& log);
// Removes `folder` when it is empty.
void RemoveSetupFolder(const QString& folder, const SetupLogSink& log);
