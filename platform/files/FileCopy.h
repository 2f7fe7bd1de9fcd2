#pragma once

#include <QString>

namespace platform {

// Copies the file `from` to `to`. Whatever `to` held before is deleted first, so after a failed
// copy no older file stands there; a partly written copy is removed. On failure GetLastError()
// gives the system error code of the step that failed.
bool CopyFileReplacing(const QString& from, const QString& to);

}  // namespace platform
