#include "tests/support/TestPaths.h"

namespace testsupport {

QString SourceDir() { return QStringLiteral(TARNWICK_SOURCE_DIR); }
QString BinaryDir() { return QStringLiteral(TARNWICK_BINARY_DIR); }
QString ProgramPath(const QString& name) { return BinaryDir() + QStringLiteral("/bin/") + name; }

}  // namespace testsupport
