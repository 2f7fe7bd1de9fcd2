#pragma once

#include "admin/forms/ProfileColumn.h"
#include "admin/forms/Refusal.h"
#include "admin/forms/ValueCheck.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CFormMapping;
class CRadioGroups;
class FormInfo;
class FormTabInfo;
struct FormControlInfo;

// A profile a ComboBox can read its items from.
struct OtherProfile {
  int32_t ProfileID = 0;
  QString Name;
};

// What a committed value of a property grid changes, and what it is refused for. A refused
// value changes nothing; the grid then shows the stored value again.
namespace propertycommit {

// What the control grid's checks consult.
struct ControlContext {
  const ProfileColumns& Columns;
  const CFormMapping& Mapping;
  CRadioGroups& Radios;
  const std::vector<OtherProfile>& OtherProfiles;
  ValueCheck Check;
};

// The refusal of a value the column's type or the stored form text cannot take.
Refusal NotValid();

// A row of the control grid, by property id, with its text.
std::optional<Refusal> CommitControl(FormControlInfo* control, int propertyId, const QString& value,
                                     const ControlContext& context);
// The control grid's colour button: the text colour.
void CommitForeColor(FormControlInfo* control, const QColor& color);
// A row of the form and tab grid: the tab's title or the form's name.
std::optional<Refusal> CommitForm(FormInfo* form, FormTabInfo* tab, int propertyId, const QString& value);
// A row of the radio-group grid: the group's name or its column.
std::optional<Refusal> CommitRadioGroup(CRadioGroups& radios, int groupIndex, int propertyId, const QString& value,
                                        const ValueCheck& check);

// A ComboBox's valued list: "+" appends an item, "-" removes one; a removed item that was the
// default value leaves the default empty.
std::optional<Refusal> AddComboItem(FormControlInfo* control, const QString& item);
void RemoveComboItem(FormControlInfo* control, int index);

}  // namespace propertycommit
