#include "sync/data/HandlerSettingsTable.h"

HandlerSettingsTable::HandlerSettingsTable(QString tableName, QString connectLabel, ConnectReport report)
    : SettingsTable(std::move(tableName), std::move(connectLabel), report) {
  ConnectDatabase();
}

HandlerSettingsTable::~HandlerSettingsTable() { CloseDatabase(); }

int HandlerSettingsTable::InitializeTable(const QString& clause, QString* errorOut) {
  if (!IsConnected()) {
    *errorOut = NotConnectedText();
    return 0;
  }
  if (m_handler.ExecuteQuery(Connection(), MakeSelection(clause)) == 1) return 1;
  *errorOut = QStringLiteral("Failed to Initialize ") + TableName() + u'.';
  return 0;
}

int HandlerSettingsTable::GetRecordCount() { return IsConnected() ? m_handler.GetRowCount() : 0; }

int HandlerSettingsTable::MoveToRecord(int32_t row) { return IsConnected() ? m_handler.MoveToRow(row) : 0; }

QString HandlerSettingsTable::Text(int16_t column) { return m_handler.GetWholeText(column); }

int32_t HandlerSettingsTable::Number(int16_t column) { return static_cast<int32_t>(Text(column).toLong()); }
