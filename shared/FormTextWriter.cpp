#include "shared/FormTextWriter.h"

namespace {

// Every element name of the form texts.
constexpr const char16_t* kElements[] = {
    u"NumOfGrp", u"Name", u"DataColumn", u"NumRdBtn", u"Height", u"Width", u"FontSize", u"R",
    u"G", u"B", u"NumOfFldDefVal", u"FldName", u"FldDefValue", u"TabInfo", u"NumOfCtrls",
    u"ControlInfo", u"X", u"Y", u"FontFace", u"FontStyle", u"TxtR", u"TxtG", u"TxtB",
    u"Visible", u"Type", u"Caption", u"AlignText", u"DefaultValue", u"ReadOnly", u"UnChecked",
    u"Checked", u"Disabled", u"RectDW", u"MarkDW", u"SrcType", u"ItemEdit", u"NumOfItem",
    u"Item", u"LkProfileID", u"LkCol", u"LkViewCol", u"Action", u"BgR", u"BgG", u"BgB",
    u"NumGoToFrm", u"SrcField", u"DestForm", u"DestField", u"Format", u"Selected", u"Group",
    u"Formula", u"IsDataCol"};

}  // namespace

QString FormTextWriter::FindTagText(QStringView value) {
  if (value.contains(u"</")) return QStringLiteral("</");
  for (const char16_t* name : kElements) {
    const QString tag = u'<' + QString::fromUtf16(name) + u'>';
    if (value.contains(tag)) return tag;
  }
  return {};
}

bool FormTextWriter::WriteFormLevel(const FormLevelInfo& form, QString* text) {
  m_strOut.clear();
  m_strError.clear();
  Number("NumOfGrp", static_cast<qint64>(form.Groups.size()));
  for (const RadioGroupInfo& group : form.Groups) {
    Text("Name", group.Name);
    Text("DataColumn", group.DataColumn);
    Number("NumRdBtn", group.NumRdBtn);
  }
  Number("Height", form.Height);
  Number("Width", form.Width);
  Number("FontSize", form.FontSize);
  Number("R", form.R);
  Number("G", form.G);
  Number("B", form.B);
  Number("NumOfFldDefVal", static_cast<qint64>(form.DefaultValues.size()));
  for (const FieldDefaultValue& value : form.DefaultValues) {
    Text("FldName", value.FldName);
    Text("FldDefValue", value.FldDefValue);
  }
  if (!m_strError.isEmpty()) return false;
  *text = m_strOut;
  return true;
}

bool FormTextWriter::WriteTab(const std::vector<StoredControl>& controls, QString* text) {
  m_strOut = QStringLiteral("<TabInfo>");
  m_strError.clear();
  Number("NumOfCtrls", static_cast<qint64>(controls.size()));
  for (const StoredControl& control : controls) {
    m_strOut += u"<ControlInfo>";
    Common(control);
    TypeTags(control.Properties);
    m_strOut += u"</ControlInfo>";
  }
  m_strOut += u"</TabInfo>";
  if (!m_strError.isEmpty()) return false;
  *text = m_strOut;
  return true;
}

void FormTextWriter::Number(const char* name, qint64 value) {
  const QString element = QString::fromLatin1(name);
  m_strOut += u'<' + element + u'>' + QString::number(value) + QStringLiteral("</") + element + u'>';
}

void FormTextWriter::Text(const char* name, const QString& value) {
  const QString element = QString::fromLatin1(name);
  const QString tag = FindTagText(value);
  if (!tag.isEmpty() && m_strError.isEmpty()) {
    m_strError = QStringLiteral("%1 \"%2\" cannot be stored: it contains \"%3\", which the "
                                "stored form uses to mark its values.")
                     .arg(element, value, tag);
  }
  m_strOut += u'<' + element + u'>' + value + QStringLiteral("</") + element + u'>';
}

void FormTextWriter::Common(const StoredControl& control) {
  const FormControlProperties& c = control.Properties;
  Number("X", control.X);
  Number("Y", control.Y);
  Number("Width", control.Width);
  Number("Height", control.Height);
  Number("FontFace", c.FontFace);
  Number("FontSize", c.FontSize);
  Number("FontStyle", c.FontStyle);
  Number("TxtR", c.TxtR);
  Number("TxtG", c.TxtG);
  Number("TxtB", c.TxtB);
  Number("Visible", c.Visible);
  Number("Type", c.Type);
}

void FormTextWriter::TypeTags(const FormControlProperties& c) {
  // The colours are 32-bit values written as signed numbers, as the readers convert them back.
  const auto colour = [](uint32_t value) { return static_cast<int32_t>(value); };
  switch (c.Type) {
    case kLabel:
      Text("Caption", c.Caption);
      Number("AlignText", c.AlignText);
      break;
    case kTextBox:
      Text("DataColumn", c.DataColumn);
      Text("DefaultValue", c.DefaultValue);
      Number("ReadOnly", c.ReadOnly);
      break;
    case kCheckBox:
      Text("DataColumn", c.DataColumn);
      Text("Caption", c.Caption);
      Text("DefaultValue", c.DefaultValue);
      Text("UnChecked", c.UnChecked);
      Text("Checked", c.Checked);
      Number("Disabled", c.Disabled);
      Number("RectDW", colour(c.RectDW));
      Number("MarkDW", colour(c.MarkDW));
      break;
    case kComboBox:
      ComboBoxTags(c);
      break;
    case kButton:
      ButtonTags(c);
      break;
    case kDateTime:
      Text("DataColumn", c.DataColumn);
      Number("Format", c.Format);
      Number("Disabled", c.Disabled);
      break;
    case kRadioButton:
      Text("Caption", c.Caption);
      Number("Selected", c.Selected);
      Text("Group", c.Group);
      Number("Disabled", c.Disabled);
      Number("RectDW", colour(c.RectDW));
      Number("MarkDW", colour(c.MarkDW));
      break;
    case kFormulaField:
    case kConditionalField:
      Text("Formula", c.Formula);
      Number("IsDataCol", c.IsDataCol);
      if (c.IsDataCol != 0) Text("DataColumn", c.DataColumn);
      break;
    default:
      break;
  }
}

void FormTextWriter::ComboBoxTags(const FormControlProperties& c) {
  Text("DataColumn", c.DataColumn);
  Number("SrcType", c.SrcType);
  Number("ItemEdit", c.ItemEdit);
  Number("Disabled", c.Disabled);
  if (c.SrcType == kSourceValuedList) {
    Text("DefaultValue", c.DefaultValue);
    Number("NumOfItem", c.Items.size());
    for (const QString& item : c.Items) Text("Item", item);
  } else if (c.SrcType == kSourceAnotherProfile) {
    Number("LkProfileID", c.LkProfileID);
    Text("LkCol", c.LkCol);
    Text("LkViewCol", c.LkViewCol);
  }
}

void FormTextWriter::ButtonTags(const FormControlProperties& c) {
  Text("Caption", c.Caption);
  Text("Action", c.Action);
  Number("Disabled", c.Disabled);
  Number("BgR", c.BgR);
  Number("BgG", c.BgG);
  Number("BgB", c.BgB);
  if (c.Action != kGoToFormAction) return;
  Number("NumGoToFrm", static_cast<qint64>(c.GoToForms.size()));
  for (const GoToFormInfo& link : c.GoToForms) {
    Text("SrcField", link.SrcField);
    Text("DestForm", link.DestForm);
    Text("DestField", link.DestField);
  }
}
