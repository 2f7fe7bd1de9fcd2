#pragma once

#include <QString>

namespace admin { class CDatabseConnection; }

// Runs one writing statement on the settings database; true when it is done (an UPDATE or
// DELETE that matches no row is done too). Nothing is committed here: under a transaction of
// the caller's, the caller decides.
bool RunSettingsStatement(admin::CDatabseConnection& connection, const QString& sql);

// Raises the failure of the settings statement last run on `connection`: `text` in the box with
// the error icon, no log line of its own (the callers write theirs).
void RaiseSettingsFailure(const admin::CDatabseConnection& connection, const QString& text);
