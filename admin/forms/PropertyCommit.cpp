#include "admin/forms/PropertyCommit.h"

#include "admin/forms/FormMapping.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormInfo.h"
#include "admin/foundation/FormPropertyIds.h"
#include "shared/formtext/FormTextWriter.h"

namespace propertycommit {

namespace {

bool Storable(const QString& value) { return FormTextWriter::FindTagText(value).isEmpty(); }

int32_t BooleanValue(const QString& value) { return value == QStringLiteral("TRUE") ? 1 : 0; }

QString ColumnType(const ProfileColumns& columns, const QString& name) {
  for (const ProfileColumn& column : columns)
    if (column.Name == name) return column.SqlType;
  return {};
}

// The values a control keeps for its column must suit a new column's type.
bool ValuesFitColumn(const FormControlInfo& control, const QString& type, const ValueCheck& check) {
  switch (control.Type) {
    case kTextBox:
    case kComboBox:
      return check(type, control.DefaultValue);
    case kCheckBox:
      return check(type, control.UnChecked) && check(type, control.Checked);
    default:
      return true;
  }
}

std::optional<Refusal> CommitDataColumn(FormControlInfo* control, const QString& column, const ControlContext& c) {
  if (!ValuesFitColumn(*control, ColumnType(c.Columns, column), c.Check)) return NotValid();
  control->DataColumn = column;
  return std::nullopt;
}

std::optional<Refusal> CommitValue(FormControlInfo* control, int propertyId, const QString& value,
                                   const ControlContext& c) {
  if (propertyId != kPropDefaultValue && value.isEmpty())
    return Refusal{QStringLiteral("Property value should not be empty, Please Enter Valid data.")};
  if (control->Type == kCheckBox && propertyId == kPropDefaultValue) {
    if (value != QStringLiteral("UnChecked") && value != QStringLiteral("Checked")) return NotValid();
  } else if (!c.Check(ColumnType(c.Columns, control->DataColumn), value)) {
    return NotValid();
  }
  QString& target = propertyId == kPropUnChecked ? control->UnChecked
                    : propertyId == kPropChecked ? control->Checked
                                                 : control->DefaultValue;
  target = value;
  return std::nullopt;
}

std::optional<Refusal> CommitCaption(FormControlInfo* control, const QString& value, const ControlContext& c) {
  if (control->Type == kRadioButton && !c.Check(c.Radios.GroupColumnType(control->Group), value)) return NotValid();
  control->Caption = value;
  return std::nullopt;
}

std::optional<Refusal> CommitIsDataColumn(FormControlInfo* control, const QString& value, const ControlContext& c) {
  if (BooleanValue(value) == 0) {
    control->IsDataCol = 0;
    control->DataColumn.clear();
    return std::nullopt;
  }
  if (control->IsDataCol == 0 && c.Mapping.FreeColumns(control->Type).isEmpty())
    return Refusal{QStringLiteral("All the Columns in Profile have already been mapped.")};
  control->IsDataCol = 1;
  return std::nullopt;
}

std::optional<Refusal> CommitSourceType(FormControlInfo* control, const QString& value, const ControlContext& c) {
  const int32_t source = GetSourceTypeCode(value);
  if (source == kSourceAnotherProfile) {
    if (c.OtherProfiles.empty()) return Refusal{QStringLiteral("Profile's are not available."), true};
    control->ItemEdit = 0;
  }
  control->SrcType = source;
  return std::nullopt;
}

void CommitLookupProfile(FormControlInfo* control, const QString& value, const ControlContext& c) {
  for (const OtherProfile& profile : c.OtherProfiles)
    if (profile.Name == value) control->LkProfileID = profile.ProfileID;
}

std::optional<Refusal> CommitSelected(FormControlInfo* control, const QString& value, const ControlContext& c) {
  if (BooleanValue(value) == 1)
    c.Radios.Select(control);
  else
    control->Selected = 0;
  return std::nullopt;
}

}  // namespace

Refusal NotValid() { return Refusal{QStringLiteral("Data entered in property is not valid, Please Enter Valid data.")}; }

std::optional<Refusal> CommitControl(FormControlInfo* control, int propertyId, const QString& value,
                                     const ControlContext& context) {
  if (!Storable(value)) return NotValid();
  switch (propertyId) {
    case kPropCaption: return CommitCaption(control, value, context);
    case kPropAlignText: control->AlignText = GetAlignCode(value); break;
    case kPropDataColumn: return CommitDataColumn(control, value, context);
    case kPropDefaultValue:
    case kPropUnChecked:
    case kPropChecked:
      return CommitValue(control, propertyId, value, context);
    case kPropReadOnly: control->ReadOnly = BooleanValue(value); break;
    case kPropDisabled: control->Disabled = BooleanValue(value); break;
    case kPropAllowItemEdit: control->ItemEdit = BooleanValue(value); break;
    case kPropIsDataColumn: return CommitIsDataColumn(control, value, context);
    case kPropSourceType: return CommitSourceType(control, value, context);
    case kPropLookupProfile: CommitLookupProfile(control, value, context); break;
    case kPropLookupColumn: control->LkCol = value; break;
    case kPropViewColumn: control->LkViewCol = value; break;
    case kPropAction:
      control->Action = value;
      control->Caption = value;
      break;
    case kPropFormat:
      control->Format = GetDateFormatCode(value);
      control->Caption = GetCurrentDateTimeText(control->Format);
      break;
    case kPropSelected: return CommitSelected(control, value, context);
    case kPropGroup: return context.Radios.MoveTo(control, value, context.Check);
    case kPropFormula: control->Formula = value; break;
    case kPropFontName: control->FontFace = GetFontFaceCode(value); break;
    case kPropFontSize: {
      bool number = false;
      const int size = value.toInt(&number);
      if (!number) return NotValid();
      control->FontSize = size;
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

void CommitForeColor(FormControlInfo* control, const QColor& color) {
  control->TxtR = color.red();
  control->TxtG = color.green();
  control->TxtB = color.blue();
}

std::optional<Refusal> CommitForm(FormInfo* form, FormTabInfo* tab, int propertyId, const QString& value) {
  if (propertyId == kPropCaption) {
    if (value.isEmpty()) return Refusal{QStringLiteral("Tab Name should not be empty.")};
    if (!Storable(value)) return NotValid();
    tab->SetFormTabTitle(value);
  } else if (propertyId == kPropFormName) {
    if (value.isEmpty()) return Refusal{QStringLiteral("Form Name should not be empty.")};
    if (!Storable(value)) return NotValid();
    form->SetFormName(value);
  }
  return std::nullopt;
}

std::optional<Refusal> CommitRadioGroup(CRadioGroups& radios, int groupIndex, int propertyId, const QString& value,
                                        const ValueCheck& check) {
  if (!Storable(value)) return NotValid();
  if (propertyId == kPropCaption) return radios.Rename(groupIndex, value);
  if (propertyId == kPropDataColumn) return radios.SetDataColumn(groupIndex, value, check);
  return std::nullopt;
}

std::optional<Refusal> AddComboItem(FormControlInfo* control, const QString& item) {
  if (!Storable(item)) return NotValid();
  control->Items.append(item);
  return std::nullopt;
}

void RemoveComboItem(FormControlInfo* control, int index) {
  if (index < 0 || index >= control->Items.size()) return;
  if (control->DefaultValue == control->Items.at(index)) control->DefaultValue.clear();
  control->Items.removeAt(index);
}

}  // namespace propertycommit
