#include "admin/profiles/TableColumns.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/SqlTypes.h"
#include "admin/profiles/ColumnChoiceChecks.h"
#include "admin/profiles/TableKeyColumns.h"

QString CatalogTableName(const SelectSource& source, const QString& table) {
  if (source.workbookExport) return QStringLiteral("New_") + table + QStringLiteral(".txt");
  if (source.productName.contains(QStringLiteral("Oracle")) && table.contains(u' ')) return u'"' + table + u'"';
  return table;
}

QList<ListedColumn> ListTableColumns(admin::CDatabseConnection& connection, const SelectSource& source, const QString& table) {
  const QString catalogName = CatalogTableName(source, table);
  QStringList names;
  QList<int16_t> types;
  connection.GetColumnList(catalogName, &names, &types);
  const QStringList keys = GetTableKeyColumns(connection, source.productName, catalogName, names);
  QList<ListedColumn> columns;
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString typeName = GetSqlTypeName(types.value(i));
    columns.append(
        {ListedColumnName(source, names.at(i)), typeName, keys.contains(names.at(i)), IsTickableType(typeName),
         types.value(i)});
  }
  return columns;
}
