#include "admin/profiles/ColumnChoiceChecks.h"

#include "admin/profiles/FilterSortText.h"

namespace {

const QString kUnknownType = QStringLiteral("SQL_UNKNOWN_TYPE");
const QString kNoName = QStringLiteral("`NoName`");

QString DuplicateColumn(const QString& name) {
  return QStringLiteral(
             "Selected Table/View has duplicate columns.\r\nColumn %1 is duplicate.\r\nPlease Select another "
             "table/view.")
      .arg(name);
}

// The listed index of the column named `bare`; -1 when none is.
qsizetype ListedIndex(const QStringList& listedNames, const QString& bare) {
  for (qsizetype i = 0; i < listedNames.size(); ++i) {
    if (BareColumnName(listedNames.at(i)) == bare) return i;
  }
  return -1;
}

QString CheckKept(const QStringList& names, const QStringList& listedNames, const QList<bool>& ticks) {
  for (const QString& name : names) {
    const qsizetype index = ListedIndex(listedNames, name);
    if (index < 0) return QStringLiteral("This Column are not Present in the Profile, : %1 ?").arg(name);
    if (!ticks.value(index))
      return QStringLiteral("You are not check Mapped column, please select Column, : %1 ?").arg(name);
  }
  return {};
}

}  // namespace

QString PrimaryKeyUntickQuestion(const ColumnTickFacts& column, bool ticking) {
  if (ticking || !column.primaryKey) return {};
  return QStringLiteral(
             "You are trying to uncheck primary key column. A database, which has primary key, does not allow adding "
             "new record until user has data for primary key column also. So you will not able to Add new record "
             "from device, only edit and delete will be possible. Are you sure to uncheck Primary Key column : %1 ?")
      .arg(column.listedName);
}

QString ColumnTickRefusal(const ColumnTickFacts& column, bool ticking, const FormColumnUse& forms) {
  if (ticking) {
    return IsTickableType(column.typeName)
               ? QString()
               : QStringLiteral("You are not allow to select column having type SQL_UNKNOWN_TYPE.");
  }
  if (column.sorted) return QStringLiteral("You are not allow to deselect Sort Column.");
  const QString bare = BareColumnName(column.listedName);
  if (forms.mapped.contains(bare))
    return QStringLiteral(
        "You can not remove selected column as it is already assigned in Form, Please remove this column from form "
        "first, if you do not want to use this.");
  if (forms.lookup.contains(bare))
    return QStringLiteral(
               "You can not remove the column: \"%1\" as it is already assigned in Form Control as Lookup Column, "
               "Please remove this column as Lookup Column from form First, if you do not want to use this.")
        .arg(bare);
  return {};
}

bool IsTickableType(const QString& typeName) { return typeName != kUnknownType; }

QList<bool> SelectAllTicks(const QList<bool>& ticks, const QStringList& typeNames, const QList<bool>& primaryKeys,
                           bool checked) {
  QList<bool> result = ticks;
  for (qsizetype i = 0; i < result.size(); ++i) {
    if (!IsTickableType(typeNames.value(i))) {
      result[i] = false;
      continue;
    }
    result[i] = primaryKeys.value(i) || checked;
  }
  return result;
}

QString CheckSelectedColumnNames(const QStringList& listedNames, const SelectedColumnsCheck& check) {
  QStringList seen;
  for (const QString& name : listedNames) {
    if (check.sqlServer && name.mid(1, name.size() - 2).contains(u']'))
      return QStringLiteral(
                 "Selected Table/View has column %1 with closing square bracket in it.\r\nPlease Select another "
                 "table/view.")
          .arg(name);
    if (name != kNoName && seen.contains(name)) return DuplicateColumn(name);
    seen.append(name);
  }
  if (!check.workbookExport) return {};
  const qsizetype unnamed = listedNames.count(kNoName);
  if (unnamed > 0 && unnamed == listedNames.size() && check.workbookOpen)
    return QStringLiteral("Selected Profile is Empty.\r\nPlease Select another profile.");
  return unnamed >= 2 ? DuplicateColumn(kNoName) : QString();
}

QString CheckFormColumnsKept(const FormColumnUse& forms, const QStringList& listedNames, const QList<bool>& ticks) {
  const QString mapped = CheckKept(forms.mapped, listedNames, ticks);
  return mapped.isEmpty() ? CheckKept(forms.lookup, listedNames, ticks) : mapped;
}

QString CheckProcedureFormColumnsKept(const FormColumnUse& forms, const QStringList& resultColumns) {
  for (const QString& name : forms.mapped) {
    if (!resultColumns.contains(name))
      return QStringLiteral("This Mapped Column are not Present in the Profile, : %1 ?").arg(name);
  }
  for (const QString& name : forms.lookup) {
    if (!resultColumns.contains(name))
      return QStringLiteral("This Lookup Column are not Present in the Profile, : %1 ?").arg(name);
  }
  return {};
}
