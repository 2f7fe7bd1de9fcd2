#pragma once

#include "sync/data/HandlerSettingsTable.h"

// A status table (a user's flag per profile or form) that also moves and deletes its rows. Every
// row of the id whose flag matches changes at once (the rows of all users); flags go into the
// statement as they are.
class StatusSettingsTable : public HandlerSettingsTable {
 public:
  // 1 when the statement succeeded, else 0 with the reason in `errorOut`.
  int SetStatusFlag(int32_t id, const QString& oldFlag, const QString& newFlag, QString* errorOut);
  int DeleteStatusRecord(int32_t id, const QString& flag, QString* errorOut);

 protected:
  // `updateText` takes the new flag, the id and the old flag as %1, %2, %3; `deleteText` the id
  // and the flag as %1, %2.
  StatusSettingsTable(const QString& tableName, QString updateText, QString deleteText);

 private:
  int Run(const QString& sql, QString* errorOut);

  const QString m_strUpdateText;
  const QString m_strDeleteText;
};
