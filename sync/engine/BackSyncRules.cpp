#include "sync/engine/BackSyncRules.h"

#include "shared/odbc/QueryText.h"

#include <QStringList>

bool UserListNamesDevice(const QString& userList, const QString& deviceId) {
  if (deviceId.isEmpty()) return false;
  const QStringList names = userList.split(u',');
  return names.contains(deviceId);
}

bool IsWorkbookProfileRecord(const ProfileRecord& profile) {
  return profile.DBType.trimmed().toInt() == 8 || profile.Path != profile.tempPath;
}

QString WorksheetNameOfQuery(const QString& query) {
  const qsizetype from = FindSqlKeyword(query, u"FROM");
  if (from < 0) return {};
  const qsizetype quote = query.indexOf(u'"', from);
  if (quote < 0) return {};
  const qsizetype dot = query.indexOf(u'.', quote + 1);
  if (dot < 0) return {};
  return query.mid(quote + 1, dot - quote - 1);
}
