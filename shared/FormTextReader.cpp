#include "shared/FormTextReader.h"

#include "shared/TaggedText.h"

#include <optional>
#include <utility>

using taggedtext::FindTag;
using taggedtext::TagMatch;
using taggedtext::TagStatus;
using taggedtext::ToInt;

namespace {
const QString kControlEnd = QStringLiteral("</ControlInfo>");
}  // namespace

// A reading position in text[.., limit). The first element that is not there whole marks the
// cursor damaged; from then on nothing more is read through it.
class FormTextReader::Cursor {
 public:
  Cursor(QStringView text, qsizetype from, qsizetype limit)
      : m_text(text), m_pos(from), m_limit(limit) {}

  // The element's value; nullopt when it is absent (the position stays) or cut.
  std::optional<QString> Take(QStringView name) {
    if (IsDamaged()) return std::nullopt;
    const TagMatch match = FindTag(m_text, m_pos, m_limit, name);
    if (match.status == TagStatus::Absent) return std::nullopt;
    if (match.status == TagStatus::Unclosed) {
      m_damagedAt = name.toString();
      return std::nullopt;
    }
    m_pos = match.valueStart;
    return m_text.sliced(match.valueStart, match.valueEnd - match.valueStart).toString();
  }

  // An element the writer always puts there: its absence damages the cursor.
  QString Need(QStringView name) {
    std::optional<QString> value = Take(name);
    if (!value && !IsDamaged()) m_damagedAt = name.toString();
    return value.value_or(QString());
  }
  int NeedInt(QStringView name) { return ToInt(Need(name)); }
  int TakeInt(QStringView name) { return ToInt(Take(name).value_or(QString())); }

  // True when the element's opening tag lies ahead.
  bool Ahead(QStringView name) const {
    return !IsDamaged() && FindTag(m_text, m_pos, m_limit, name).status != TagStatus::Absent;
  }

  bool IsDamaged() const { return !m_damagedAt.isEmpty(); }
  QString DamagedAt() const { return m_damagedAt; }
  qsizetype Position() const { return m_pos; }
  void MoveTo(qsizetype pos) { m_pos = pos; }

 private:
  QStringView m_text;
  qsizetype m_pos;
  qsizetype m_limit;
  QString m_damagedAt;
};

void FormTextReader::ReadFormLevel(QStringView text, FormLevelInfo* form) {
  m_problems.clear();
  Cursor cursor(text, 0, text.size());
  ReadGroups(cursor, form);
  form->Height = cursor.TakeInt(u"Height");
  form->Width = cursor.TakeInt(u"Width");
  form->FontSize = cursor.TakeInt(u"FontSize");
  using Component = std::pair<const char16_t*, int32_t*>;
  for (auto [name, component] : {Component{u"R", &form->R}, Component{u"G", &form->G},
                                 Component{u"B", &form->B}}) {
    const std::optional<QString> value = cursor.Take(name);
    if (value && !value->isEmpty()) *component = ToInt(*value);
  }
  ReadDefaultValues(cursor, form);
  if (cursor.IsDamaged())
    m_problems << QStringLiteral("The form text is cut at <%1>.").arg(cursor.DamagedAt());
}

void FormTextReader::ReadGroups(Cursor& cursor, FormLevelInfo* form) {
  form->Groups.clear();
  const int count = cursor.TakeInt(u"NumOfGrp");
  for (int i = 0; i < count; ++i) {
    if (!cursor.Ahead(u"Name")) {
      m_problems << QStringLiteral("NumOfGrp is %1 but the text holds %2 radio groups.")
                        .arg(count).arg(i);
      return;
    }
    RadioGroupInfo group;
    group.Name = cursor.Need(u"Name");
    group.DataColumn = cursor.Need(u"DataColumn");
    group.NumRdBtn = cursor.NeedInt(u"NumRdBtn");
    if (cursor.IsDamaged()) return;
    form->Groups.push_back(group);
  }
}

void FormTextReader::ReadDefaultValues(Cursor& cursor, FormLevelInfo* form) {
  form->DefaultValues.clear();
  const int count = cursor.TakeInt(u"NumOfFldDefVal");
  for (int i = 0; i < count; ++i) {
    if (!cursor.Ahead(u"FldName")) {
      m_problems << QStringLiteral("NumOfFldDefVal is %1 but the text holds %2 default values.")
                        .arg(count).arg(i);
      return;
    }
    FieldDefaultValue value;
    value.FldName = cursor.Need(u"FldName");
    value.FldDefValue = cursor.Need(u"FldDefValue");
    if (cursor.IsDamaged()) return;
    form->DefaultValues.push_back(value);
  }
}

std::vector<StoredControl> FormTextReader::ReadTab(QStringView text) {
  m_problems.clear();
  std::vector<StoredControl> controls;
  Cursor tab(text, 0, text.size());
  const int count = tab.TakeInt(u"NumOfCtrls");
  for (int i = 0; i < count; ++i) {
    const TagMatch first = FindTag(text, tab.Position(), text.size(), u"X");
    if (first.status == TagStatus::Absent) {
      m_problems << QStringLiteral("NumOfCtrls is %1 but the text holds %2 controls.")
                        .arg(count).arg(i);
      break;
    }
    const qsizetype end = text.indexOf(kControlEnd, first.valueStart);
    if (end < 0) {
      m_problems << QStringLiteral("Control %1 is cut short; it is skipped and reading ends.").arg(i);
      break;
    }
    Cursor cursor(text, tab.Position(), end);
    StoredControl control;
    if (ReadControl(cursor, &control)) {
      controls.push_back(control);
    } else {
      m_problems << QStringLiteral("Control %1 is damaged at <%2>; it is skipped.")
                        .arg(i).arg(cursor.DamagedAt());
    }
    tab.MoveTo(end + kControlEnd.size());
  }
  if (tab.IsDamaged())
    m_problems << QStringLiteral("The tab text is cut at <%1>.").arg(tab.DamagedAt());
  return controls;
}

bool FormTextReader::ReadControl(Cursor& cursor, StoredControl* control) {
  control->X = cursor.NeedInt(u"X");
  control->Y = cursor.NeedInt(u"Y");
  control->Width = cursor.NeedInt(u"Width");
  control->Height = cursor.NeedInt(u"Height");
  FormControlProperties& c = control->Properties;
  c.FontFace = cursor.NeedInt(u"FontFace");
  c.FontSize = cursor.NeedInt(u"FontSize");
  c.FontStyle = cursor.NeedInt(u"FontStyle");
  c.TxtR = cursor.NeedInt(u"TxtR");
  c.TxtG = cursor.NeedInt(u"TxtG");
  c.TxtB = cursor.NeedInt(u"TxtB");
  c.Visible = cursor.NeedInt(u"Visible");
  c.Type = cursor.NeedInt(u"Type");
  const auto colour = [&cursor](QStringView name) { return static_cast<uint32_t>(cursor.NeedInt(name)); };
  switch (c.Type) {
    case kLabel:
      c.Caption = cursor.Need(u"Caption");
      c.AlignText = cursor.NeedInt(u"AlignText");
      break;
    case kTextBox:
      c.DataColumn = cursor.Need(u"DataColumn");
      c.DefaultValue = cursor.Need(u"DefaultValue");
      c.ReadOnly = cursor.NeedInt(u"ReadOnly");
      break;
    case kCheckBox:
      c.DataColumn = cursor.Need(u"DataColumn");
      c.Caption = cursor.Need(u"Caption");
      c.DefaultValue = cursor.Need(u"DefaultValue");
      c.UnChecked = cursor.Need(u"UnChecked");
      c.Checked = cursor.Need(u"Checked");
      c.Disabled = cursor.NeedInt(u"Disabled");
      c.RectDW = colour(u"RectDW");
      c.MarkDW = colour(u"MarkDW");
      break;
    case kComboBox:
      ReadComboBox(cursor, &c);
      break;
    case kButton:
      ReadButton(cursor, &c);
      break;
    case kDateTime:
      c.DataColumn = cursor.Need(u"DataColumn");
      c.Format = cursor.NeedInt(u"Format");
      c.Disabled = cursor.NeedInt(u"Disabled");
      break;
    case kRadioButton:
      c.Caption = cursor.Need(u"Caption");
      c.Selected = cursor.NeedInt(u"Selected");
      c.Group = cursor.Need(u"Group");
      c.Disabled = cursor.NeedInt(u"Disabled");
      c.RectDW = colour(u"RectDW");
      c.MarkDW = colour(u"MarkDW");
      break;
    case kFormulaField:
    case kConditionalField:
      c.Formula = cursor.Need(u"Formula");
      c.IsDataCol = cursor.NeedInt(u"IsDataCol");
      if (c.IsDataCol != 0) c.DataColumn = cursor.Need(u"DataColumn");
      break;
    default:
      break;
  }
  return !cursor.IsDamaged();
}

void FormTextReader::ReadComboBox(Cursor& cursor, FormControlProperties* c) {
  c->DataColumn = cursor.Need(u"DataColumn");
  c->SrcType = cursor.NeedInt(u"SrcType");
  c->ItemEdit = cursor.NeedInt(u"ItemEdit");
  c->Disabled = cursor.NeedInt(u"Disabled");
  if (c->SrcType == kSourceValuedList) {
    c->DefaultValue = cursor.Need(u"DefaultValue");
    const int count = cursor.NeedInt(u"NumOfItem");
    for (int i = 0; i < count && cursor.Ahead(u"Item"); ++i) c->Items << cursor.Need(u"Item");
    if (c->Items.size() < count && !cursor.IsDamaged())
      m_problems << QStringLiteral("NumOfItem is %1 but the control holds %2 items.")
                        .arg(count).arg(c->Items.size());
  } else if (c->SrcType == kSourceAnotherProfile) {
    c->LkProfileID = cursor.NeedInt(u"LkProfileID");
    c->LkCol = cursor.Need(u"LkCol");
    c->LkViewCol = cursor.Need(u"LkViewCol");
  }
}

void FormTextReader::ReadButton(Cursor& cursor, FormControlProperties* c) {
  c->Caption = cursor.Need(u"Caption");
  c->Action = cursor.Need(u"Action");
  c->Disabled = cursor.NeedInt(u"Disabled");
  c->BgR = cursor.NeedInt(u"BgR");
  c->BgG = cursor.NeedInt(u"BgG");
  c->BgB = cursor.NeedInt(u"BgB");
  if (c->Action != kGoToFormAction) return;
  const int count = cursor.NeedInt(u"NumGoToFrm");
  for (int i = 0; i < count && cursor.Ahead(u"SrcField"); ++i) {
    GoToFormInfo link;
    link.SrcField = cursor.Need(u"SrcField");
    link.DestForm = cursor.Need(u"DestForm");
    link.DestField = cursor.Need(u"DestField");
    c->GoToForms.push_back(link);
  }
  if (static_cast<int>(c->GoToForms.size()) < count && !cursor.IsDamaged())
    m_problems << QStringLiteral("NumGoToFrm is %1 but the control holds %2 links.")
                      .arg(count).arg(c->GoToForms.size());
}
