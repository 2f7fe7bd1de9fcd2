#pragma once

#include "admin/forms/ArmRefusal.h"
#include "admin/forms/ProfileColumn.h"
#include "shared/formtext/FormTextRecords.h"

#include <QStringList>

#include <optional>
#include <vector>

class FormInfo;

// What of the profile a form maps: the columns its controls and radio groups take and the
// actions its Buttons carry, and so which columns and actions are still free for a control.
class CFormMapping {
 public:
  CFormMapping(const ProfileColumns& columns, const FormInfo& form, const std::vector<RadioGroupInfo>& groups,
               const QStringList& actions);

  // The data columns of the controls that map one (TextBox, CheckBox, ComboBox, DateTime,
  // FormulaField, Conditional Field) on every tab, then those of the radio groups; empty ones
  // left out.
  QStringList ColumnsInUse() const;
  // The profile columns, in order, that a control of the type can map and nothing maps yet:
  // date and time columns for a DateTime, any other for a CheckBox, any other but bit columns
  // for the rest. `current`, the column of the control being edited, counts as free.
  QStringList FreeColumns(int type, const QString& current = QString()) const;
  // The actions no Button carries; "Go To Form" is always free, and so is `own`, the action of
  // the Button being edited.
  QStringList FreeActions(const QString& own = QString()) const;
  // Nothing when the toolbox may arm the type; else why not.
  std::optional<ArmRefusal> CheckArming(int type) const;

  static bool IsDateTimeType(const QString& sqlType);
  // The control types whose data column counts among the columns in use; a formula or
  // conditional field carries one only when its value is stored in a column.
  static bool MapsADataColumn(int32_t type);

 private:
  bool IsCandidate(int type, const QString& sqlType) const;

  const ProfileColumns& m_columns;
  const FormInfo& m_form;
  const std::vector<RadioGroupInfo>& m_groups;
  const QStringList& m_actions;
};
