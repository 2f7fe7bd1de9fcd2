#include "sync/engine/FormPacking.h"

#include "shared/Endian.h"
#include "sync/engine/MessageBuilders.h"

using namespace endian;

namespace formpacking {
namespace {

constexpr qsizetype kMaxLength = 0xFFFF;

// Appends fields and notes when a length no longer fits its 16-bit field.
class Packer {
 public:
  void Le16(int value) { AppendLE<uint16_t>(&m_bytes, static_cast<uint16_t>(value)); }
  void Be16(int value) { AppendBE<uint16_t>(&m_bytes, static_cast<uint16_t>(value)); }
  void Le32(int32_t value) { AppendLE<uint32_t>(&m_bytes, static_cast<uint32_t>(value)); }
  void Be32(uint32_t value) { AppendBE<uint32_t>(&m_bytes, value); }
  void Zeros(int count) { m_bytes.append(count, '\0'); }

  // A byte count (little- or big-endian) and the UTF-16LE units, without terminator.
  void TextLe(const QString& text) {
    Fits(2 * text.size());
    Le16(static_cast<int>(2 * text.size()));
    Units(text);
  }
  void TextBe(const QString& text) {
    Fits(2 * text.size());
    Be16(static_cast<int>(2 * text.size()));
    Units(text);
  }

  std::optional<QByteArray> Result() const {
    if (!m_bFits || m_bytes.size() > kMaxLength) return std::nullopt;
    return m_bytes;
  }

 private:
  void Units(const QString& text) {
    for (const QChar unit : text) AppendLE<uint16_t>(&m_bytes, unit.unicode());
  }
  void Fits(qsizetype length) {
    if (length > kMaxLength) m_bFits = false;
  }

  QByteArray m_bytes;
  bool m_bFits = true;
};

void PackCommonPart(Packer* p, const StoredControl& control) {
  const FormControlProperties& c = control.Properties;
  p->Le32(control.X);
  p->Le32(control.Y);
  p->Le32(control.Width);
  p->Le32(control.Height);
  p->Le32(c.FontSize);
  p->Le32(c.FontStyle);
  p->Be16(c.TxtR);
  p->Be16(c.TxtG);
  p->Be16(c.TxtB);
  p->Be16(c.Visible);
  p->Be16(c.FontFace);
  p->Zeros(8);
  p->Le32(c.Type);
}

void PackComboBox(Packer* p, const FormControlProperties& c) {
  p->TextLe(c.DataColumn);
  p->Be16(c.ItemEdit);
  p->Be16(c.Disabled);
  p->Be16(c.SrcType);
  if (c.SrcType == kSourceValuedList) {
    p->TextLe(c.DefaultValue);
    p->Le16(static_cast<int>(c.Items.size()));
    for (const QString& item : c.Items) p->TextLe(item);
  } else if (c.SrcType == kSourceAnotherProfile) {
    p->Be32(static_cast<uint32_t>(c.LkProfileID));
    p->TextLe(c.LkCol);
    p->TextLe(c.LkViewCol);
  }
}

void PackButton(Packer* p, const FormControlProperties& c) {
  p->TextLe(c.Caption);
  p->TextLe(c.Action);
  p->Be16(c.Disabled);
  p->Be16(c.BgR);
  p->Be16(c.BgG);
  p->Be16(c.BgB);
  if (c.Action != kGoToFormAction) return;
  p->Le16(static_cast<int>(c.GoToForms.size()));
  for (const GoToFormInfo& link : c.GoToForms) {
    p->TextLe(link.SrcField);
    p->TextLe(link.DestForm);
    p->TextLe(link.DestField);
  }
}

void PackTypePart(Packer* p, const FormControlProperties& c) {
  switch (c.Type) {
    case kLabel:
      p->TextLe(c.Caption);
      p->Be16(c.AlignText);
      break;
    case kTextBox:
      p->TextLe(c.DataColumn);
      p->TextLe(c.DefaultValue);
      p->Be16(c.ReadOnly);
      break;
    case kCheckBox:
      for (const QString* text : {&c.DataColumn, &c.Caption, &c.DefaultValue, &c.UnChecked, &c.Checked}) p->TextLe(*text);
      p->Be16(c.Disabled);
      p->Be32(c.RectDW);
      p->Be32(c.MarkDW);
      break;
    case kComboBox: PackComboBox(p, c); break;
    case kButton: PackButton(p, c); break;
    case kDateTime:
      p->TextLe(c.DataColumn);
      p->Be16(c.Format);
      p->Be16(c.Disabled);
      break;
    case kRadioButton:
      p->TextLe(c.Caption);
      p->Be16(c.Selected);
      p->TextLe(c.Group);
      p->Be16(c.Disabled);
      p->Be32(c.RectDW);
      p->Be32(c.MarkDW);
      break;
    case kFormulaField:
    case kConditionalField:
      p->TextLe(c.Formula);
      p->Be16(c.IsDataCol);
      if (c.IsDataCol != 0) p->TextLe(c.DataColumn);
      break;
    default: break;
  }
}

}  // namespace

std::optional<QByteArray> PackFormGroups(const FormLevelInfo& form) {
  Packer p;
  p.Be16(static_cast<int>(form.Groups.size()));
  for (const RadioGroupInfo& group : form.Groups) {
    p.TextBe(group.Name);
    p.TextBe(group.DataColumn);
  }
  p.Be32(static_cast<uint32_t>(form.Height));
  p.Be32(static_cast<uint32_t>(form.Width));
  p.Be32(static_cast<uint32_t>(form.FontSize));
  p.Be16(form.R);
  p.Be16(form.G);
  p.Be16(form.B);
  p.Be16(static_cast<int>(form.DefaultValues.size()));
  for (const FieldDefaultValue& value : form.DefaultValues) {
    p.TextBe(value.FldName);
    p.TextBe(value.FldDefValue);
  }
  return p.Result();
}

std::optional<QByteArray> PackTabControls(const std::vector<StoredControl>& controls) {
  Packer p;
  p.Le32(static_cast<int32_t>(controls.size()));
  for (const StoredControl& control : controls) {
    PackCommonPart(&p, control);
    PackTypePart(&p, control.Properties);
  }
  return p.Result();
}

std::optional<QByteArray> BuildFormTabData(int32_t tabId, const QString& tabTitle,
                                           const std::vector<StoredControl>& controls) {
  const std::optional<QByteArray> block = PackTabControls(controls);
  if (!block) return std::nullopt;
  Packer head;
  head.Le32(tabId);
  head.TextLe(tabTitle);
  const std::optional<QByteArray> record = head.Result();
  if (!record) return std::nullopt;
  return *record + *block;
}

std::optional<QByteArray> AssembleAddForm(int32_t formId, int32_t profileId, const QString& formTitle,
                                          const QByteArray& formGroups) {
  const qsizetype inner = 2 + 2 * formTitle.size() + formGroups.size();
  if (inner > kMaxLength) return std::nullopt;
  QByteArray message;
  message.reserve(inner + 12);
  AppendLE<uint16_t>(&message, messages::kAddForm);
  AppendBE<uint32_t>(&message, static_cast<uint32_t>(formId));
  AppendLE<uint16_t>(&message, static_cast<uint16_t>(inner));
  AppendLE<uint16_t>(&message, static_cast<uint16_t>(2 * formTitle.size()));
  for (const QChar unit : formTitle) AppendLE<uint16_t>(&message, unit.unicode());
  message += formGroups;
  AppendBE<uint32_t>(&message, static_cast<uint32_t>(profileId));
  return message;
}

}  // namespace formpacking
