#include "admin/foundation/SettingsQuery.h"

#include "shared/formtext/TaggedText.h"

SettingsQuery::SettingsQuery(const admin::CDatabseConnection& connection, const QString& sql) {
  m_handler.SetWholeTextFlag(true);
  m_bExecuted = m_handler.ExecuteQuery(connection, sql) == 1;
}

bool SettingsQuery::NextRow() {
  if (!m_bExecuted || !m_handler.MoveToRow(m_nRow + 1)) return false;
  ++m_nRow;
  return true;
}

QString SettingsQuery::Text(int16_t column) { return m_handler.GetFieldValue(m_nRow, column); }

int32_t SettingsQuery::Number(int16_t column) { return taggedtext::ToInt(Text(column)); }

QStringList SettingsQuery::ColumnTexts(const admin::CDatabseConnection& connection, const QString& sql, int16_t column) {
  SettingsQuery query(connection, sql);
  QStringList texts;
  while (query.NextRow()) texts.append(query.Text(column));
  return texts;
}

int32_t SettingsQuery::FirstNumber(const admin::CDatabseConnection& connection, const QString& sql) {
  SettingsQuery query(connection, sql);
  return query.NextRow() ? query.Number(0) : 0;
}
