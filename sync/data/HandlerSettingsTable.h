#pragma once

#include "sync/data/SettingsTable.h"
#include "sync/data/SettingsTableHandler.h"

// A settings table read through a record source: the selection runs on the handler, rows are
// positioned by number and columns read as whole texts.
class HandlerSettingsTable : public SettingsTable {
 public:
  ~HandlerSettingsTable() override;

  // 1 when the selection ran; else 0 with the reason in `errorOut`.
  int InitializeTable(const QString& clause, QString* errorOut);
  int GetRecordCount();
  int MoveToRecord(int32_t row);

 protected:
  // Connects at once.
  HandlerSettingsTable(QString tableName, QString connectLabel, ConnectReport report);

  // A column of the row MoveToRecord went to.
  QString Text(int16_t column);
  // A column of integers (non-numeric text gives 0).
  int32_t Number(int16_t column);

  void ReleaseStatement() override { m_handler.CloseStatement(); }

 private:
  SettingsTableHandler m_handler;
};
