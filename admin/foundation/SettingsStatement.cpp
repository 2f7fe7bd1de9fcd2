#include "admin/foundation/SettingsStatement.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"

bool RunSettingsStatement(admin::CDatabseConnection& connection, const QString& sql) {
  return SQL_SUCCEEDED(connection.ExecuteStatement(sql));
}

void RaiseSettingsFailure(const admin::CDatabseConnection& connection, const QString& text) {
  admin::RaiseFailure({0, std::nullopt, text, admin::FailureLook::Error, connection.GetLastStatementDiagnostic()});
}
