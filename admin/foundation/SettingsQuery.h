#pragma once

#include "admin/foundation/DatabaseHandler.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// One SELECT on the settings database, run at construction, its rows visited in order with
// every text read whole. A query that fails has no rows, so its readers answer 0 or nothing.
class SettingsQuery {
 public:
  SettingsQuery(const admin::CDatabseConnection& connection, const QString& sql);

  // Whether the SELECT ran; a query without rows ran too.
  bool IsExecuted() const { return m_bExecuted; }
  // Moves to the next row (the first on the first call); false past the last.
  bool NextRow();
  QString Text(int16_t column);
  // The column read by the C library's text-to-integer rule.
  int32_t Number(int16_t column);

  // Texts of `column` in every row.
  static QStringList ColumnTexts(const admin::CDatabseConnection& connection, const QString& sql, int16_t column);
  // The first row's `column` read as a number; 0 without a row.
  static int32_t FirstNumber(const admin::CDatabseConnection& connection, const QString& sql);

 private:
  admin::CDatabaseHandler m_handler;
  bool m_bExecuted = false;
  int32_t m_nRow = -1;
};
