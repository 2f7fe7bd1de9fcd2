#pragma once

#include <QStringList>

// The data source names a user registered, in the driver manager's order: every listed name but
// those the system's own programs register for themselves, under their designed or their
// shortened driver-manager names.
QStringList ListUserDataSourceNames();
