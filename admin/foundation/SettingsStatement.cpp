#include "admin/foundation/SettingsStatement.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabseConnection.h"
#include "platform/widgets/MessageBox.h"

bool RunSettingsStatement(CDatabseConnection& connection, const QString& sql) {
  return SQL_SUCCEEDED(connection.ExecuteStatement(sql));
}

void ShowSettingsFailure(const QString& text) {
  platform::MessageBox(nullptr, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONERROR);
}
