#include "admin/profiles/TableKeyColumns.h"

#include "admin/foundation/DatabseConnection.h"

namespace {

bool UsesBestRowIdentifier(const QString& productName) {
  return productName.contains(QStringLiteral("Oracle")) || productName.contains(QStringLiteral("PostgreSQL"));
}

QStringList Listed(const QStringList& names, const QStringList& columnNames) {
  QStringList listed;
  for (const QString& name : names) {
    if (columnNames.contains(name)) listed.append(name);
  }
  return listed;
}

}  // namespace

QStringList GetTableKeyColumns(admin::CDatabseConnection& connection, const QString& productName, const QString& table,
                               const QStringList& columnNames) {
  QStringList names;
  if (UsesBestRowIdentifier(productName)) {
    connection.GetSpecialColumnList(table, &names);
    const QStringList listed = Listed(names, columnNames);
    if (!listed.isEmpty()) return listed;
    names.clear();
  }
  connection.GetPrimaryKeyList(table, &names);
  return Listed(names, columnNames);
}
