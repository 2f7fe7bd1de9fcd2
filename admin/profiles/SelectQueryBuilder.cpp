#include "admin/profiles/SelectQueryBuilder.h"

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/profiles/FilterSortText.h"
#include "shared/data/SourceKinds.h"

namespace {

const QString kExportSuffix = QStringLiteral(".txt");

bool IsAccessFile(int sourceKind) {
  return sourceKind == sourcekind::kMdb || sourceKind == sourcekind::kAccdb;
}

// Access files take the bare name; nothing else is quoted there.
QString QuotedForSource(const SelectSource& source, const QString& name) {
  if (source.mySql) return QuoteSqlName(name, u'`');
  if (IsAccessFile(source.sourceKind)) return name;
  return QuoteSqlName(name, u'"');
}

}  // namespace

bool IsDoubleQuoteProduct(const SelectSource& source) {
  static const QStringList kProducts = {QStringLiteral("SQL Server"), QStringLiteral("DataDirect 32-BIT SequeLink"),
                                        QStringLiteral("Oracle"), QStringLiteral("PostgreSQL")};
  if (source.sourceKind == sourcekind::kFileMaker) return true;
  for (const QString& product : kProducts) {
    if (source.productName.contains(product)) return true;
  }
  return false;
}

QString ListedColumnName(const SelectSource& source, const QString& name) {
  const QChar quote = IsDoubleQuoteProduct(source) ? u'"' : u'`';
  return quote + name + quote;
}

QString SelectTableName(const SelectSource& source, const QString& schema, const QString& table) {
  const QString name = QuotedForSource(source, source.workbookExport ? table + kExportSuffix : table);
  return schema.isEmpty() ? name : QuotedForSource(source, schema) + u'.' + name;
}

QStringList SelectedColumns(const QStringList& listedNames, const QList<bool>& ticked, const QStringList& arranged) {
  QStringList inListOrder;
  for (qsizetype i = 0; i < listedNames.size(); ++i) {
    if (ticked.value(i)) inListOrder.append(listedNames.at(i));
  }
  QStringList sortedArranged = arranged;
  QStringList sortedTicked = inListOrder;
  sortedArranged.sort();
  sortedTicked.sort();
  return !arranged.isEmpty() && sortedArranged == sortedTicked ? arranged : inListOrder;
}

QString BuildSelectQuery(const SelectSource& source, const QStringList& selectedColumns, const QString& schema,
                         const QString& table) {
  QStringList columns;
  for (const QString& listed : selectedColumns) columns.append(ColumnNameForSql(listed));
  return QStringLiteral("Select ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" from ") +
         SelectTableName(source, schema, table);
}

StoredColumnChoice ReadStoredColumnChoice(const QString& query, const QStringList& listedNames) {
  StoredColumnChoice choice;
  choice.ticked.fill(false, listedNames.size());
  for (const QString& written : SplitSqlList(SplitSelectQuery(query).columns)) {
    for (qsizetype i = 0; i < listedNames.size(); ++i) {
      if (choice.ticked.at(i) || ColumnNameForSql(listedNames.at(i)) != written) continue;
      choice.ticked[i] = true;
      choice.arranged.append(listedNames.at(i));
      break;
    }
  }
  return choice;
}

QualifiedTableName ReadStoredTable(const SelectSource& source, const QString& query) {
  QualifiedTableName name = ReadQualifiedTableName(SplitSelectQuery(query).from);
  if (source.workbookExport && name.table.endsWith(kExportSuffix)) name.table.chop(kExportSuffix.size());
  return name;
}
