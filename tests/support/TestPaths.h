#pragma once

#include <QString>

namespace testsupport {

// The source tree and the build tree the tests were built from.
QString SourceDir();
QString BinaryDir();

// A program of the system as built in this tree (<build>/bin/<name>).
QString ProgramPath(const QString& name);

}  // namespace testsupport
