#include "sync/data/StatusSettingsTable.h"

StatusSettingsTable::StatusSettingsTable(const QString& tableName, QString updateText, QString deleteText)
    : HandlerSettingsTable(tableName, tableName, ConnectReport::Log),
      m_strUpdateText(std::move(updateText)),
      m_strDeleteText(std::move(deleteText)) {}

int StatusSettingsTable::SetStatusFlag(int32_t id, const QString& oldFlag, const QString& newFlag, QString* errorOut) {
  return Run(m_strUpdateText.arg(newFlag, QString::number(id), oldFlag), errorOut);
}

int StatusSettingsTable::DeleteStatusRecord(int32_t id, const QString& flag, QString* errorOut) {
  return Run(m_strDeleteText.arg(QString::number(id), flag), errorOut);
}

int StatusSettingsTable::Run(const QString& sql, QString* errorOut) {
  if (!IsConnected()) {
    *errorOut = QStringLiteral("Not Connected to ") + TableName() + u'.';
    return 0;
  }
  const SQLRETURN result = Connection().ExecuteStatement(sql);
  if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return 1;
  // The statement's own diagnostic: the connection handle carries none for a failed statement.
  *errorOut = Connection().GetLastError();
  return 0;
}
