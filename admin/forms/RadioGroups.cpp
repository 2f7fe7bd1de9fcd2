#include "admin/forms/RadioGroups.h"

#include "admin/foundation/FormInfo.h"

namespace {

const QString kNameNotUnique = QStringLiteral("Group Name is not unique.");

bool InRange(int index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }

}  // namespace

CRadioGroups::CRadioGroups(std::vector<RadioGroupInfo>& groups, FormInfo& form, const ProfileColumns& columns)
    : m_groups(groups), m_form(form), m_columns(columns) {}

RadioGroupInfo* CRadioGroups::Find(const QString& name) {
  for (RadioGroupInfo& group : m_groups)
    if (group.Name == name) return &group;
  return nullptr;
}

bool CRadioGroups::NameTaken(const QString& name, int except) const {
  for (size_t i = 0; i < m_groups.size(); ++i)
    if (static_cast<int>(i) != except && m_groups[i].Name == name) return true;
  return false;
}

std::vector<FormControlInfo*> CRadioGroups::RadioButtonsOf(const QString& group) const {
  std::vector<FormControlInfo*> buttons;
  for (int t = 0; t < m_form.GetTabCount(); ++t) {
    const FormTabInfo& tab = *m_form.GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      FormControlInfo* control = tab.GetControl(c);
      if (control->Type == kRadioButton && control->Group == group) buttons.push_back(control);
    }
  }
  return buttons;
}

QString CRadioGroups::GroupColumnType(const QString& group) const {
  for (const RadioGroupInfo& info : m_groups) {
    if (info.Name != group) continue;
    for (const ProfileColumn& column : m_columns)
      if (column.Name == info.DataColumn) return column.SqlType;
  }
  return {};
}

std::optional<Refusal> CRadioGroups::Add(const QStringList& freeColumns, int* index) {
  if (freeColumns.isEmpty()) return Refusal{QStringLiteral("All the Columns in Profile have already been mapped.")};
  const QString name = QStringLiteral("Group_%1").arg(freeColumns.first());
  // A group renamed earlier may carry the name this one would get.
  if (NameTaken(name, -1)) return Refusal{kNameNotUnique};
  m_groups.push_back({name, freeColumns.first(), 0});
  *index = static_cast<int>(m_groups.size()) - 1;
  return std::nullopt;
}

std::optional<Refusal> CRadioGroups::Remove(int index) {
  if (!InRange(index, m_groups.size())) return std::nullopt;
  if (m_groups[static_cast<size_t>(index)].NumRdBtn > 0)
    return Refusal{QStringLiteral("Group is assigned to Radio Buttons."), true};
  m_groups.erase(m_groups.begin() + index);
  return std::nullopt;
}

std::optional<Refusal> CRadioGroups::Rename(int index, const QString& name) {
  if (!InRange(index, m_groups.size())) return std::nullopt;
  if (name.isEmpty()) return Refusal{QStringLiteral("Group Name should not be empty.")};
  if (NameTaken(name, index)) return Refusal{kNameNotUnique};
  RadioGroupInfo& group = m_groups[static_cast<size_t>(index)];
  for (FormControlInfo* radio : RadioButtonsOf(group.Name)) radio->Group = name;
  group.Name = name;
  return std::nullopt;
}

std::optional<Refusal> CRadioGroups::SetDataColumn(int index, const QString& column, const ValueCheck& check) {
  if (!InRange(index, m_groups.size())) return std::nullopt;
  RadioGroupInfo& group = m_groups[static_cast<size_t>(index)];
  QString type;
  for (const ProfileColumn& candidate : m_columns)
    if (candidate.Name == column) type = candidate.SqlType;
  for (const FormControlInfo* radio : RadioButtonsOf(group.Name)) {
    if (check(type, radio->Caption)) continue;
    return Refusal{QStringLiteral("Caption property value of \"%1\" RadioButtons in \"%2\" RadioGroup are not valid "
                                  "for new Data column,\r\nPlease change valid Caption value first.")
                       .arg(group.DataColumn, group.Name)};
  }
  group.DataColumn = column;
  return std::nullopt;
}

std::optional<Refusal> CRadioGroups::JoinNewRadioButton(FormControlInfo* radio, const QStringList& freeColumns) {
  if (m_groups.empty()) {
    int index = 0;
    if (std::optional<Refusal> refused = Add(freeColumns, &index)) return refused;
  }
  RadioGroupInfo& first = m_groups.front();
  radio->Group = first.Name;
  radio->Caption = DefaultCaption(GroupColumnType(first.Name));
  ++first.NumRdBtn;
  return std::nullopt;
}

void CRadioGroups::Leave(const FormControlInfo& radio) {
  if (RadioGroupInfo* group = Find(radio.Group)) group->NumRdBtn = qMax(0, group->NumRdBtn - 1);
}

void CRadioGroups::LeaveTab(const FormTabInfo& tab) {
  for (int c = 0; c < tab.GetControlCount(); ++c)
    if (tab.GetControl(c)->Type == kRadioButton) Leave(*tab.GetControl(c));
}

std::optional<Refusal> CRadioGroups::MoveTo(FormControlInfo* radio, const QString& group, const ValueCheck& check) {
  RadioGroupInfo* target = Find(group);
  if (target == nullptr || group == radio->Group) return std::nullopt;
  if (!check(GroupColumnType(group), radio->Caption))
    return Refusal{QStringLiteral(
        "Caption property value is not valid for new RadioGroup, Please Enter Valid Caption value first.")};
  for (const FormControlInfo* member : RadioButtonsOf(group))
    if (member->Selected != 0) radio->Selected = 0;
  Leave(*radio);
  radio->Group = group;
  ++target->NumRdBtn;
  return std::nullopt;
}

std::vector<FormControlInfo*> CRadioGroups::Select(FormControlInfo* radio) {
  std::vector<FormControlInfo*> cleared;
  for (FormControlInfo* member : RadioButtonsOf(radio->Group)) {
    if (member == radio || member->Selected == 0) continue;
    member->Selected = 0;
    cleared.push_back(member);
  }
  radio->Selected = 1;
  return cleared;
}

QString CRadioGroups::DefaultCaption(const QString& sqlType) {
  static const QStringList numeric = {
      QStringLiteral("SQL_NUMERIC"),  QStringLiteral("SQL_DOUBLE"),     QStringLiteral("SQL_INTEGER"),
      QStringLiteral("SQL_SMALLINT"), QStringLiteral("SQL_TINYINT"),    QStringLiteral("SQL_REAL"),
      QStringLiteral("SQL_C_USHORT"), QStringLiteral("SQL_C_ULONG"),    QStringLiteral("SQL_C_STINYINT"),
      QStringLiteral("SQL_BIT")};
  static const QStringList text = {
      QStringLiteral("SQL_LONGVARCHAR"), QStringLiteral("SQL_VARCHAR"),  QStringLiteral("SQL_CHAR"),
      QStringLiteral("SQL_WCHAR"),       QStringLiteral("SQL_WVARCHAR"), QStringLiteral("SQL_WLONGVARCHAR"),
      QStringLiteral("SQL_GUID"),        QStringLiteral("SQL_TIMESTAMP"), QStringLiteral("SQL_DATE"),
      QStringLiteral("SQL_TIME")};
  if (numeric.contains(sqlType)) return QStringLiteral("0");
  if (text.contains(sqlType)) return QStringLiteral("Radio");
  return {};
}
