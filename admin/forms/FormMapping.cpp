#include "admin/forms/FormMapping.h"

#include "admin/foundation/FormInfo.h"

namespace {

const QString kAllColumnsMapped = QStringLiteral("All the Columns in Profile have already been mapped.");

}  // namespace

CFormMapping::CFormMapping(const ProfileColumns& columns, const FormInfo& form,
                           const std::vector<RadioGroupInfo>& groups, const QStringList& actions)
    : m_columns(columns), m_form(form), m_groups(groups), m_actions(actions) {}

bool CFormMapping::MapsADataColumn(int32_t type) {
  switch (type) {
    case kTextBox:
    case kCheckBox:
    case kComboBox:
    case kDateTime:
    case kFormulaField:
    case kConditionalField:
      return true;
    default:
      return false;
  }
}

bool CFormMapping::IsDateTimeType(const QString& sqlType) {
  return sqlType == QStringLiteral("SQL_DATE") || sqlType == QStringLiteral("SQL_TIME") ||
         sqlType == QStringLiteral("SQL_TIMESTAMP");
}

bool CFormMapping::IsCandidate(int type, const QString& sqlType) const {
  if (type == kDateTime) return IsDateTimeType(sqlType);
  if (IsDateTimeType(sqlType)) return false;
  return type == kCheckBox || sqlType != QStringLiteral("SQL_BIT");
}

QStringList CFormMapping::ColumnsInUse() const {
  QStringList inUse;
  for (int t = 0; t < m_form.GetTabCount(); ++t) {
    const FormTabInfo& tab = *m_form.GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      const FormControlInfo& control = *tab.GetControl(c);
      if (MapsADataColumn(control.Type) && !control.DataColumn.isEmpty()) inUse.append(control.DataColumn);
    }
  }
  for (const RadioGroupInfo& group : m_groups)
    if (!group.DataColumn.isEmpty()) inUse.append(group.DataColumn);
  return inUse;
}

QStringList CFormMapping::FreeColumns(int type, const QString& current) const {
  const QStringList inUse = ColumnsInUse();
  QStringList free;
  for (const ProfileColumn& column : m_columns) {
    if (!IsCandidate(type, column.SqlType)) continue;
    if (!inUse.contains(column.Name) || (!current.isEmpty() && column.Name == current)) free.append(column.Name);
  }
  return free;
}

QStringList CFormMapping::FreeActions(const QString& own) const {
  QStringList taken;
  for (int t = 0; t < m_form.GetTabCount(); ++t) {
    const FormTabInfo& tab = *m_form.GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c)
      if (tab.GetControl(c)->Type == kButton) taken.append(tab.GetControl(c)->Action);
  }
  QStringList free;
  for (const QString& action : m_actions)
    if (action == kGoToFormAction || action == own || !taken.contains(action)) free.append(action);
  return free;
}

std::optional<ArmRefusal> CFormMapping::CheckArming(int type) const {
  switch (type) {
    case kTextBox:
    case kCheckBox:
    case kComboBox:
      if (FreeColumns(type).isEmpty()) return ArmRefusal{0, kAllColumnsMapped};
      break;
    case kButton:
      if (FreeActions().isEmpty()) return ArmRefusal{1, QStringLiteral("All the Button Actions have already been mapped.")};
      break;
    case kDateTime:
      if (FreeColumns(type).isEmpty())
        return ArmRefusal{2, QStringLiteral("All the Date Time Columns in Profile have already been mapped.")};
      break;
    case kRadioButton:
      if (m_groups.empty() && FreeColumns(type).isEmpty()) return ArmRefusal{3, kAllColumnsMapped};
      break;
    default:
      break;
  }
  return std::nullopt;
}
