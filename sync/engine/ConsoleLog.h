#pragma once

#include <QString>

// A sync-service log line that is printed to standard output as well, for the lines an operator
// watching the console should see.
void WriteSyncServiceLogAndConsole(int code, const QString& text);
