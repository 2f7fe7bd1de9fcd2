#include "admin/foundation/StatusFlags.h"

#include "admin/foundation/SettingsQuery.h"

bool IsLiveStatusFlag(const QString& flag) { return flag != kDeleteStatusFlag; }

QStringList LiveStatusFlags(const admin::CDatabseConnection& connection, const QString& sql, int16_t column) {
  QStringList flags = SettingsQuery::ColumnTexts(connection, sql, column);
  flags.removeIf([](const QString& flag) { return !IsLiveStatusFlag(flag); });
  return flags;
}
