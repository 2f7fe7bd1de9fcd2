#pragma once

#include "admin/forms/PropertyRow.h"
#include "shared/formtext/FormTextRecords.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

class CFormMapping;

// What the rows of a ComboBox reading another profile offer: the other profiles, the one it
// reads, and that profile's columns.
struct LookupChoices {
  QStringList Profiles;
  QString Current;
  QStringList Columns;
};

// The rows the designer's grids show, in order, for what is selected.
namespace propertyrows {

// "TRUE" for 1, "FALSE" otherwise.
QString BooleanText(int32_t value);
// The form and tab grid: the tab's title, the form name, the profile name (read-only), the
// form colour.
std::vector<PropertyRow> FormRows(const QString& tabTitle, const QString& formName, const QString& profileName,
                                  const QColor& formColor);
// The control grid: the rows of the control's type, then text colour, font name and size.
std::vector<PropertyRow> ControlRows(const FormControlProperties& control, const CFormMapping& mapping,
                                     const std::vector<RadioGroupInfo>& groups, const LookupChoices& lookup);
// The radio-group grid: the group's name and its column (the free columns for a RadioButton
// plus its own).
std::vector<PropertyRow> RadioGroupRows(const RadioGroupInfo& group, const CFormMapping& mapping);
// The control grid's title: "Label Control Properties" and so on; a Conditional Field's has no
// type name.
QString ControlGridCaption(int type);

}  // namespace propertyrows
