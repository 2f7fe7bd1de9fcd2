#include "shared/ProgramVersion.h"

int GetMajorVersion() { return 4; }

int GetMinorVersion() { return 2; }

QString GetBuildString() { return QStringLiteral("Build 181110A"); }
