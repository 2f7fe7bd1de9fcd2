#pragma once

#include "admin/foundation/DatabseConnection.h"
#include "tests/support/OdbcTestServers.h"

#include <QString>

namespace odbctest {

// Connects `connection` to a test database of the engine: for SQLite a fresh, empty file in the
// machine root behind the administration program's temporary data source name; for the servers
// a data source name of the machine root for the server the test run started. False with the
// reason when the engine is not available here (the test then skips with that text).
bool ConnectEngine(Engine engine, admin::CDatabseConnection* connection, QString* unavailable);

// The SQLite file behind the last SQLite connection of this test.
QString SqliteTestFile();

}  // namespace odbctest

// Skips the running test when the engine's server was not started.
#define CONNECT_OR_SKIP(engine, connection)                                                   \
  do {                                                                                        \
    QString unavailable_;                                                                     \
    if (!odbctest::ConnectEngine((engine), (connection), &unavailable_)) {                    \
      if (unavailable_.startsWith(QStringLiteral("skip:"))) GTEST_SKIP() << qPrintable(unavailable_); \
      FAIL() << qPrintable(unavailable_);                                                     \
    }                                                                                         \
  } while (false)
