#pragma once

#include <QString>

// The registry of an installed desktop in the machine root, as the installer leaves it.

struct DemoInstallation {
  QString folder;  // ends in "/"
  QString webServiceUrl;
  QString desktopName;
  QString deviceId;
  int changeDetectionMinutes = 1;
};

// Writes the installation's values with the sync program's switch set to run; the next IDs and
// record indexes a demo run left before on the same root are kept. False when a value cannot be
// written.
bool StoreInstallationRegistry(const DemoInstallation& installation);

// Writes SyncServiceStatus, the switch the sync program polls (0 makes it end).
bool StoreSyncServiceStatus(int status);
