#include "shared/formtext/FormTextReader.h"

#include "shared/formtext/FormTextTags.h"
#include "shared/formtext/TaggedText.h"

#include <optional>
#include <utility>

using taggedtext::FindTag;
using taggedtext::TagMatch;
using taggedtext::TagStatus;
using taggedtext::ToInt;

namespace {
constexpr QStringView kControlEnd = u"</ControlInfo>";
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

template <typename ReadOne>
void FormTextReader::ReadCounted(Cursor& cursor, int count, const QString& countTag, QStringView first,
                                 ReadOne readOne) {
  int read = 0;
  while (read < count && cursor.Ahead(first) && readOne()) ++read;
  if (read < count && !cursor.IsDamaged())
    m_problems << QStringLiteral("%1 is %2 but the text holds %3 of them.").arg(countTag).arg(count).arg(read);
}

void FormTextReader::ReadGroups(Cursor& cursor, FormLevelInfo* form) {
  form->Groups.clear();
  const int count = cursor.TakeInt(u"NumOfGrp");
  ReadCounted(cursor, count, QStringLiteral("NumOfGrp"), u"Name", [&] {
    RadioGroupInfo group;
    group.Name = cursor.Need(u"Name");
    group.DataColumn = cursor.Need(u"DataColumn");
    group.NumRdBtn = cursor.NeedInt(u"NumRdBtn");
    if (cursor.IsDamaged()) return false;
    form->Groups.push_back(group);
    return true;
  });
}

void FormTextReader::ReadDefaultValues(Cursor& cursor, FormLevelInfo* form) {
  form->DefaultValues.clear();
  const int count = cursor.TakeInt(u"NumOfFldDefVal");
  ReadCounted(cursor, count, QStringLiteral("NumOfFldDefVal"), u"FldName", [&] {
    FieldDefaultValue value;
    value.FldName = cursor.Need(u"FldName");
    value.FldDefValue = cursor.Need(u"FldDefValue");
    if (cursor.IsDamaged()) return false;
    form->DefaultValues.push_back(value);
    return true;
  });
}

std::vector<StoredControl> FormTextReader::ReadTab(QStringView text) {
  m_problems.clear();
  std::vector<StoredControl> controls;
  Cursor tab(text, 0, text.size());
  const int count = tab.TakeInt(u"NumOfCtrls");
  for (int i = 0; i < count; ++i) {
    const TagMatch first = FindTag(text, tab.Position(), text.size(), u"X");
    if (first.status == TagStatus::Absent) {
      m_problems << QStringLiteral("NumOfCtrls is %1 but the text holds %2 of them.").arg(count).arg(i);
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

void FormTextReader::ReadTags(Cursor& cursor, std::span<const formtext::Tag> tags, FormControlProperties* c) {
  for (const formtext::Tag& tag : tags) {
    if (const auto* text = std::get_if<formtext::TextField>(&tag.field)) c->**text = cursor.Need(tag.name);
    if (const auto* number = std::get_if<formtext::NumberField>(&tag.field)) c->**number = cursor.NeedInt(tag.name);
    if (const auto* colour = std::get_if<formtext::ColourField>(&tag.field))
      c->**colour = static_cast<uint32_t>(cursor.NeedInt(tag.name));
  }
}

bool FormTextReader::ReadControl(Cursor& cursor, StoredControl* control) {
  control->X = cursor.NeedInt(u"X");
  control->Y = cursor.NeedInt(u"Y");
  control->Width = cursor.NeedInt(u"Width");
  control->Height = cursor.NeedInt(u"Height");
  FormControlProperties* c = &control->Properties;
  ReadTags(cursor, formtext::CommonTags(), c);
  ReadTags(cursor, formtext::FixedTags(c->Type), c);
  ReadTags(cursor, formtext::DependentTags(*c), c);
  if (formtext::HasItemList(*c)) ReadItems(cursor, c);
  if (formtext::HasLinkList(*c)) ReadLinks(cursor, c);
  return !cursor.IsDamaged();
}

void FormTextReader::ReadItems(Cursor& cursor, FormControlProperties* c) {
  const int count = cursor.NeedInt(u"NumOfItem");
  ReadCounted(cursor, count, QStringLiteral("NumOfItem"), u"Item", [&] {
    c->Items << cursor.Need(u"Item");
    return true;
  });
}

void FormTextReader::ReadLinks(Cursor& cursor, FormControlProperties* c) {
  const int count = cursor.NeedInt(u"NumGoToFrm");
  ReadCounted(cursor, count, QStringLiteral("NumGoToFrm"), u"SrcField", [&] {
    GoToFormInfo link;
    link.SrcField = cursor.Need(u"SrcField");
    link.DestForm = cursor.Need(u"DestForm");
    link.DestField = cursor.Need(u"DestField");
    c->GoToForms.push_back(link);
    return true;
  });
}
