#pragma once

// The service's own run: switches the sync program on, runs it and, when the service manager
// asks the service to stop (SIGTERM or SIGINT), switches it off and waits for it to end.
// Returns the exit code of the service process.
int RunSyncService();

// Holds back SIGTERM and SIGINT from here on, so that a stop asked for at once after the start is
// taken by RunSyncService instead of ending the process before it switched the program off.
void BlockStopSignals();
