#pragma once

#include "admin/forms/ProfileColumn.h"
#include "admin/forms/Refusal.h"
#include "admin/forms/ValueCheck.h"
#include "shared/formtext/FormTextRecords.h"

#include <QStringList>

#include <optional>
#include <vector>

class FormInfo;
class FormTabInfo;
struct FormControlInfo;

// The radio groups of a form and the RadioButtons in them: adding, removing, renaming a group,
// changing its column, and a RadioButton joining, leaving, moving between groups or becoming
// the selected one of its group. Counts never go below 0; a refused change changes nothing.
class CRadioGroups {
 public:
  CRadioGroups(std::vector<RadioGroupInfo>& groups, FormInfo& form, const ProfileColumns& columns);

  // Appends "Group_" + the first of the free columns (for type 7), with no buttons; its index.
  std::optional<Refusal> Add(const QStringList& freeColumns, int* index);
  // Removes a group no RadioButton is in.
  std::optional<Refusal> Remove(int index);
  // Renames the group and every RadioButton's group of that name.
  std::optional<Refusal> Rename(int index, const QString& name);
  // Gives the group another column; every RadioButton in it must have a caption valid for it.
  std::optional<Refusal> SetDataColumn(int index, const QString& column, const ValueCheck& check);

  // A RadioButton placed on the canvas: joins the form's first group (added first when the
  // form has none) and takes that group's default caption.
  std::optional<Refusal> JoinNewRadioButton(FormControlInfo* radio, const QStringList& freeColumns);
  // A RadioButton deleted alone leaves its group.
  void Leave(const FormControlInfo& radio);
  // Every RadioButton of a tab being deleted leaves its group.
  void LeaveTab(const FormTabInfo& tab);
  // Moves the RadioButton to the group; its caption must be valid for that group's column. It
  // stays selected only when no button of the new group is.
  std::optional<Refusal> MoveTo(FormControlInfo* radio, const QString& group, const ValueCheck& check);
  // Selects the RadioButton and clears every other of its group, on every tab. The ones cleared
  // are returned so that their previews can be repainted.
  std::vector<FormControlInfo*> Select(FormControlInfo* radio);

  // "0" for a numeric or bit type, "Radio" for a text, date or time type, else empty.
  static QString DefaultCaption(const QString& sqlType);
  // The SQL type name of the group's column; empty for no such group or column.
  QString GroupColumnType(const QString& group) const;

 private:
  RadioGroupInfo* Find(const QString& name);
  bool NameTaken(const QString& name, int except) const;
  std::vector<FormControlInfo*> RadioButtonsOf(const QString& group) const;

  std::vector<RadioGroupInfo>& m_groups;
  FormInfo& m_form;
  const ProfileColumns& m_columns;
};
