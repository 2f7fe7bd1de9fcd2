#pragma once

// Reads SyncServiceStatus, the stop switch both programs read: 1 and `status` when it can be
// read, else 0 and `status` unchanged.
int GetSyncServiceStatus(int* status);
