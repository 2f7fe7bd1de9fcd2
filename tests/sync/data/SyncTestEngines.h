#pragma once

#include "sync/data/DatabseConnection.h"
#include "tests/support/OdbcTestServers.h"

#include <QString>

namespace synctest {

// Connects the sync program's `connection` to a test database of the engine, read-write: for
// SQLite a fresh, empty file in the machine root behind the change-detection data source name;
// for the servers the data source name of the server the test run started. False with the
// reason when the engine is not available ("skip:" when its server was not started).
bool ConnectEngine(odbctest::Engine engine, syncservice::CDatabseConnection* connection, QString* unavailable);

// The SQLite file behind the SQLite connections of this test.
QString SqliteTestFile();

}  // namespace synctest

#define SYNC_CONNECT_OR_SKIP(engine, connection)                                                \
  do {                                                                                          \
    QString unavailable_;                                                                       \
    if (!synctest::ConnectEngine((engine), (connection), &unavailable_)) {                      \
      if (unavailable_.startsWith(QStringLiteral("skip:"))) GTEST_SKIP() << qPrintable(unavailable_); \
      FAIL() << qPrintable(unavailable_);                                                       \
    }                                                                                           \
  } while (false)
