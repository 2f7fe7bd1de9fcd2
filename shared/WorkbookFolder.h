#pragma once

#include <QString>

// The folder of the workbook exports and copies: the user's documents folder, the last component
// of the installation folder, "Temp Files"; empty when no installation folder is set.
QString WorkbookTempFolder();
