#include "sync/data/DBHandlerForUserDBForProc.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/RowDigest.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <gtest/gtest.h>

using odbctest::Engine;

namespace {

class ProcedureCallRows : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override { SYNC_CONNECT_OR_SKIP(GetParam(), &connection_); }

  syncservice::CDatabseConnection connection_;
};

}  // namespace

// The call text the procedure page stores for PostgreSQL, which has no EXEC: the ODBC escape.
TEST_P(ProcedureCallRows, TheStoredCallGivesItsRows) {
  CDBHandlerForUserDBForProc handler;
  QString error;
  ASSERT_EQ(handler.Initialize(connection_, QStringLiteral("{call \"orders_of_customer\"(1, 13)}"), &error), 1)
      << qPrintable(handler.GetOdbcErrorText());
  ASSERT_EQ(handler.GetRowCount(), 1);
  EXPECT_EQ(handler.GetFieldValue(0, 1), QStringLiteral("15.75"));
  EXPECT_EQ(handler.GetFieldValue(0, 2), QStringLiteral("Alder Outfitters"));
  QByteArray record;
  uint8_t digest[kRowDigestSize] = {};
  EXPECT_GT(handler.FetchRecord(0, &record, digest), 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, ProcedureCallRows, ::testing::Values(Engine::PostgreSql),
                         [](const auto& param) { return odbctest::EngineName(param.param).toStdString(); });
