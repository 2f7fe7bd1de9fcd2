#pragma once

#include <QString>

class CDatabseConnection;

// Runs one writing statement on the settings database; true when it is done (an UPDATE or
// DELETE that matches no row is done too). Nothing is committed here: under a transaction of
// the caller's, the caller decides.
bool RunSettingsStatement(CDatabseConnection& connection, const QString& sql);

// The message box of a settings statement that failed: no owner, the program's caption and
// the error icon.
void ShowSettingsFailure(const QString& text);
