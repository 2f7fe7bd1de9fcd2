#pragma once

#include <QString>

// The version the programs show in their start-up and thread lines: 4.2, "Build 181110A".
int GetMajorVersion();
int GetMinorVersion();
QString GetBuildString();
