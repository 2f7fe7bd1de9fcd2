#include "shared/formtext/FormTextWriter.h"

#include "shared/formtext/FormTextTags.h"

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
  Number(QStringLiteral("NumOfGrp"), static_cast<qint64>(form.Groups.size()));
  for (const RadioGroupInfo& group : form.Groups) {
    Text(QStringLiteral("Name"), group.Name);
    Text(QStringLiteral("DataColumn"), group.DataColumn);
    Number(QStringLiteral("NumRdBtn"), group.NumRdBtn);
  }
  Number(QStringLiteral("Height"), form.Height);
  Number(QStringLiteral("Width"), form.Width);
  Number(QStringLiteral("FontSize"), form.FontSize);
  Number(QStringLiteral("R"), form.R);
  Number(QStringLiteral("G"), form.G);
  Number(QStringLiteral("B"), form.B);
  Number(QStringLiteral("NumOfFldDefVal"), static_cast<qint64>(form.DefaultValues.size()));
  for (const FieldDefaultValue& value : form.DefaultValues) {
    Text(QStringLiteral("FldName"), value.FldName);
    Text(QStringLiteral("FldDefValue"), value.FldDefValue);
  }
  if (!m_strError.isEmpty()) return false;
  *text = m_strOut;
  return true;
}

bool FormTextWriter::WriteTab(const std::vector<StoredControl>& controls, QString* text) {
  m_strOut = QStringLiteral("<TabInfo>");
  m_strError.clear();
  Number(QStringLiteral("NumOfCtrls"), static_cast<qint64>(controls.size()));
  for (const StoredControl& control : controls) {
    m_strOut += u"<ControlInfo>";
    Control(control);
    m_strOut += u"</ControlInfo>";
  }
  m_strOut += u"</TabInfo>";
  if (!m_strError.isEmpty()) return false;
  *text = m_strOut;
  return true;
}

void FormTextWriter::Number(const QString& element, qint64 value) {
  m_strOut += u'<' + element + u'>' + QString::number(value) + QStringLiteral("</") + element + u'>';
}

void FormTextWriter::Text(const QString& element, const QString& value) {
  const QString tag = FindTagText(value);
  if (!tag.isEmpty() && m_strError.isEmpty()) {
    m_strError = QStringLiteral("%1 \"%2\" cannot be stored: it contains \"%3\", which the "
                                "stored form uses to mark its values.")
                     .arg(element, value, tag);
  }
  m_strOut += u'<' + element + u'>' + value + QStringLiteral("</") + element + u'>';
}

void FormTextWriter::Tags(std::span<const formtext::Tag> tags, const FormControlProperties& c) {
  for (const formtext::Tag& tag : tags) {
    const QString name = QString::fromUtf16(tag.name);
    if (const auto* text = std::get_if<formtext::TextField>(&tag.field)) Text(name, c.**text);
    if (const auto* number = std::get_if<formtext::NumberField>(&tag.field)) Number(name, c.**number);
    // Colours are written as the signed 32-bit numbers the readers convert back.
    if (const auto* colour = std::get_if<formtext::ColourField>(&tag.field))
      Number(name, static_cast<int32_t>(c.**colour));
  }
}

void FormTextWriter::Control(const StoredControl& control) {
  const FormControlProperties& c = control.Properties;
  Number(QStringLiteral("X"), control.X);
  Number(QStringLiteral("Y"), control.Y);
  Number(QStringLiteral("Width"), control.Width);
  Number(QStringLiteral("Height"), control.Height);
  Tags(formtext::CommonTags(), c);
  Tags(formtext::FixedTags(c.Type), c);
  Tags(formtext::DependentTags(c), c);
  if (formtext::HasItemList(c)) {
    Number(QStringLiteral("NumOfItem"), c.Items.size());
    for (const QString& item : c.Items) Text(QStringLiteral("Item"), item);
  }
  if (formtext::HasLinkList(c)) {
    Number(QStringLiteral("NumGoToFrm"), static_cast<qint64>(c.GoToForms.size()));
    for (const GoToFormInfo& link : c.GoToForms) {
      Text(QStringLiteral("SrcField"), link.SrcField);
      Text(QStringLiteral("DestForm"), link.DestForm);
      Text(QStringLiteral("DestField"), link.DestField);
    }
  }
}
