#include "admin/forms/PropertyRows.h"

#include "admin/forms/FormMapping.h"
#include "admin/foundation/FormCodes.h"
#include "admin/foundation/FormPropertyIds.h"

namespace propertyrows {

namespace {

const QStringList& Booleans() {
  static const QStringList choices = {QStringLiteral("TRUE"), QStringLiteral("FALSE")};
  return choices;
}

PropertyRow Edit(int id, const QString& value) { return {id, kRowEdit, value, {}, false, {}}; }
PropertyRow DropList(int id, const QString& value, const QStringList& choices) {
  return {id, kRowDropList, value, choices, false, {}};
}
PropertyRow Boolean(int id, int32_t value) { return DropList(id, BooleanText(value), Booleans()); }
PropertyRow ColorButton(int id, const QColor& color) { return {id, kRowButton, {}, {}, false, color}; }
PropertyRow DataColumn(const FormControlProperties& control, const CFormMapping& mapping) {
  return DropList(kPropDataColumn, control.DataColumn, mapping.FreeColumns(control.Type, control.DataColumn));
}

QStringList CodeTexts(int first, int last, QString (*text)(int)) {
  QStringList texts;
  for (int code = first; code <= last; ++code) texts.append(text(code));
  return texts;
}

QStringList FontSizes() {
  QStringList sizes;
  for (int size = 8; size <= 20; ++size) sizes.append(QString::number(size));
  return sizes;
}

QStringList GroupNames(const std::vector<RadioGroupInfo>& groups) {
  QStringList names;
  for (const RadioGroupInfo& group : groups) names.append(group.Name);
  return names;
}

QString FirstLink(const FormControlProperties& control) {
  if (control.GoToForms.empty()) return {};
  const GoToFormInfo& link = control.GoToForms.front();
  return QStringLiteral("%1,%2,%3").arg(link.SrcField, link.DestForm, link.DestField);
}

void AddComboBoxRows(const FormControlProperties& c, const CFormMapping& mapping, const LookupChoices& lookup,
                     std::vector<PropertyRow>* rows) {
  rows->push_back(DataColumn(c, mapping));
  rows->push_back(DropList(kPropSourceType, GetSourceTypeText(c.SrcType), CodeTexts(1, 2, GetSourceTypeText)));
  if (c.SrcType == kSourceAnotherProfile) {
    rows->push_back(DropList(kPropLookupProfile, lookup.Current, lookup.Profiles));
    rows->push_back(DropList(kPropLookupColumn, c.LkCol, lookup.Columns));
    rows->push_back(DropList(kPropViewColumn, c.LkViewCol, lookup.Columns));
  } else {
    rows->push_back(DropList(kPropDefaultValue, c.DefaultValue, c.Items));
    rows->push_back(Boolean(kPropAllowItemEdit, c.ItemEdit));
  }
  rows->push_back(Boolean(kPropDisabled, c.Disabled));
}

void AddTypeRows(const FormControlProperties& c, const CFormMapping& mapping, const std::vector<RadioGroupInfo>& groups,
                 const LookupChoices& lookup, std::vector<PropertyRow>* rows) {
  switch (c.Type) {
    case kLabel:
      rows->push_back(Edit(kPropCaption, c.Caption));
      rows->push_back(DropList(kPropAlignText, GetAlignmentText(c.AlignText), CodeTexts(0, 2, GetAlignmentText)));
      break;
    case kTextBox:
      rows->push_back(DataColumn(c, mapping));
      rows->push_back(Edit(kPropDefaultValue, c.DefaultValue));
      rows->push_back(Boolean(kPropReadOnly, c.ReadOnly));
      break;
    case kCheckBox:
      rows->push_back(DataColumn(c, mapping));
      rows->push_back(Edit(kPropCaption, c.Caption));
      rows->push_back(DropList(kPropDefaultValue, c.DefaultValue,
                               {QStringLiteral("UnChecked"), QStringLiteral("Checked")}));
      rows->push_back(Edit(kPropUnChecked, c.UnChecked));
      rows->push_back(Edit(kPropChecked, c.Checked));
      rows->push_back(Boolean(kPropDisabled, c.Disabled));
      break;
    case kComboBox:
      AddComboBoxRows(c, mapping, lookup, rows);
      break;
    case kButton:
      rows->push_back(Edit(kPropCaption, c.Caption));
      rows->push_back(DropList(kPropAction, c.Action, mapping.FreeActions(c.Action)));
      if (c.Action == kGoToFormAction) rows->push_back({kPropFormSelection, kRowButton, FirstLink(c), {}, false, {}});
      rows->push_back(Boolean(kPropDisabled, c.Disabled));
      break;
    case kDateTime:
      rows->push_back(DataColumn(c, mapping));
      rows->push_back(DropList(kPropFormat, GetDateFormatText(c.Format), CodeTexts(1, 3, GetDateFormatText)));
      rows->push_back(Boolean(kPropDisabled, c.Disabled));
      break;
    case kRadioButton:
      rows->push_back(Edit(kPropCaption, c.Caption));
      rows->push_back(Boolean(kPropSelected, c.Selected));
      rows->push_back(DropList(kPropGroup, c.Group, GroupNames(groups)));
      rows->push_back(Boolean(kPropDisabled, c.Disabled));
      break;
    case kFormulaField:
      rows->push_back({kPropFormula, kRowButton, c.Formula, {}, true, {}});
      rows->push_back(Boolean(kPropIsDataColumn, c.IsDataCol));
      if (c.IsDataCol == 1) rows->push_back(DataColumn(c, mapping));
      break;
    default:
      break;
  }
}

}  // namespace

QString BooleanText(int32_t value) { return value == 1 ? Booleans().at(0) : Booleans().at(1); }

std::vector<PropertyRow> FormRows(const QString& tabTitle, const QString& formName, const QString& profileName,
                                  const QColor& formColor) {
  PropertyRow profile = Edit(kPropProfileName, profileName);
  profile.ReadOnly = true;
  return {Edit(kPropCaption, tabTitle), Edit(kPropFormName, formName), profile, ColorButton(kPropFormColor, formColor)};
}

std::vector<PropertyRow> ControlRows(const FormControlProperties& control, const CFormMapping& mapping,
                                     const std::vector<RadioGroupInfo>& groups, const LookupChoices& lookup) {
  std::vector<PropertyRow> rows;
  AddTypeRows(control, mapping, groups, lookup, &rows);
  rows.push_back(ColorButton(kPropForeColor, QColor(control.TxtR & 0xFF, control.TxtG & 0xFF, control.TxtB & 0xFF)));
  rows.push_back(DropList(kPropFontName, GetFontNameText(control.FontFace), CodeTexts(0, 5, GetFontNameText)));
  rows.push_back(DropList(kPropFontSize, QString::number(control.FontSize), FontSizes()));
  return rows;
}

std::vector<PropertyRow> RadioGroupRows(const RadioGroupInfo& group, const CFormMapping& mapping) {
  return {Edit(kPropCaption, group.Name),
          DropList(kPropDataColumn, group.DataColumn, mapping.FreeColumns(kRadioButton, group.DataColumn))};
}

QString ControlGridCaption(int type) {
  static const QStringList titles = {QStringLiteral("Label "),       QStringLiteral("TextBox "),
                                     QStringLiteral("CheckBox "),    QStringLiteral("ComboBox "),
                                     QStringLiteral("Button "),      QStringLiteral("DateTime "),
                                     QStringLiteral("RadioButton "), QStringLiteral("FormulaField ")};
  const QString title = type >= kLabel && type <= kFormulaField ? titles.at(type - 1) : QString();
  return title + QStringLiteral("Control Properties");
}

}  // namespace propertyrows
