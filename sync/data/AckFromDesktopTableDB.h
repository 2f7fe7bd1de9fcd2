#pragma once

#include "sync/data/AckRecord.h"
#include "sync/data/HandlerSettingsTable.h"

// The AckFromDesktopTable of the settings database: acknowledgements that back synchronisation
// could not deliver yet. A failed connect is kept in GetErrorText().
class CAckFromDesktopTableDB : public HandlerSettingsTable {
 public:
  CAckFromDesktopTableDB();

  // 1 when the selection ran; else 0 with the reason in `errorOut`.
  int InitializeTable(const QString& clause, QString* errorOut);
  // Row `row` of the selection, its texts whole; the previous record when not connected.
  const AckRecord& ReadRecord(int32_t row);

  // 1 when the row was stored, its texts whole; else 0 with the driver's reason in `errorOut`.
  int AddAckRecord(const AckRecord& record, QString* errorOut);
  // Removes the one row `record` was read from (its AckID). 0 when not connected, `errorOut`
  // untouched; 0 with the driver's reason when the statement fails.
  int DeleteAckRecord(const AckRecord& record, QString* errorOut);

 private:
  int Run(const QString& sql, QString* errorOut);

  AckRecord m_record;
};
