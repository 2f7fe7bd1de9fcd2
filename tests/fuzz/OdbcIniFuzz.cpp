// Any bytes read as an ODBC file are written back byte for byte, and after each kind of edit the
// written text reads again with every line the edit did not touch in it byte for byte, every
// entry the edit did not touch reading the same and the edit itself reading back.
#include "platform/odbc/OdbcIni.h"
#include "platform/text/Utf8Text.h"
#include "tests/fuzz/FuzzLines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using platform::OdbcIni;

const QString kNewSection = QStringLiteral("Fuzz Section");
const QString kNewKey = QStringLiteral("FuzzKey");
const QString kValue = QStringLiteral("fuzz value");

enum class EditKind { ChangeValue, AddValue, RemoveValue, RemoveSection, AddSection, Count };

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// What each line of the text is, by the reader's rules: a section's header, a key's line or
// neither.
struct LineRole {
  qsizetype begin = 0;
  bool header = false;
  QString name;  // the section's for a header, the key's for a key line
};

QList<LineRole> RolesOf(const QByteArray& text) {
  QList<LineRole> roles;
  for (const fuzzlines::Line& line : fuzzlines::LinesOf(text)) {
    QByteArrayView bytes = line.bytes;
    if (line.begin == 0 && bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    const QString content = platform::FromUtf8KeepingBom(bytes).trimmed();
    QString header = content;
    while (header.startsWith(QChar(0xFEFF))) header = header.mid(1).trimmed();
    LineRole role{line.begin, header.startsWith(u'['), {}};
    const qsizetype equals = content.indexOf(u'=');
    if (role.header) {
      const qsizetype close = header.indexOf(u']');
      role.name = header.mid(1, close < 0 ? -1 : close - 1).trimmed();
    } else if (equals > 0 && !content.startsWith(u';') && !content.startsWith(u'#')) {
      role.name = content.left(equals).trimmed();
    }
    roles.append(role);
  }
  return roles;
}

// The lines of `key` in the first section named `section`; only the first of them when `first`.
QSet<qsizetype> KeyLines(const QByteArray& text, const QString& section, const QString& key, bool first) {
  QSet<qsizetype> lines;
  const QList<LineRole> roles = RolesOf(text);
  qsizetype i = 0;
  while (i < roles.size() && !(roles[i].header && SameName(roles[i].name, section))) ++i;
  for (++i; i < roles.size() && !roles[i].header; ++i) {
    if (!SameName(roles[i].name, key)) continue;
    lines.insert(roles[i].begin);
    if (first) break;
  }
  return lines;
}

// The lines of every section named `section`: its header and all up to its last key.
QSet<qsizetype> SectionLines(const QByteArray& text, const QString& section) {
  QSet<qsizetype> lines;
  const QList<LineRole> roles = RolesOf(text);
  for (qsizetype i = 0; i < roles.size(); ++i) {
    if (!roles[i].header || !SameName(roles[i].name, section)) continue;
    qsizetype last = i;
    for (qsizetype j = i + 1; j < roles.size() && !roles[j].header; ++j) {
      if (!roles[j].name.isEmpty()) last = j;
    }
    for (qsizetype j = i; j <= last; ++j) lines.insert(roles[j].begin);
  }
  return lines;
}

struct Edit {
  QString section;
  QString key;  // null for the whole section
  QSet<qsizetype> touchedLines;
};

bool MakeEdit(EditKind kind, const QByteArray& text, OdbcIni* ini, Edit* edit) {
  if (kind == EditKind::AddSection) {
    if (ini->HasSection(kNewSection)) return false;
    *edit = Edit{kNewSection, kNewKey, {}};
    ini->SetValue(kNewSection, kNewKey, kValue);
    return true;
  }
  const QStringList sections = ini->SectionNames();
  if (sections.isEmpty()) return false;
  edit->section = sections.front();
  const OdbcIni::Section* section = ini->FindSection(edit->section);
  for (const OdbcIni::Entry& entry : section->entries) {
    if (!entry.key.isEmpty() && edit->key.isNull()) edit->key = entry.key;
  }
  if (kind == EditKind::AddValue) {
    for (const OdbcIni::Entry& entry : section->entries) {
      if (SameName(entry.key, kNewKey)) return false;
    }
    edit->key = kNewKey;
    ini->SetValue(edit->section, kNewKey, kValue);
    return true;
  }
  if (kind == EditKind::RemoveSection) {
    edit->key = QString();
    edit->touchedLines = SectionLines(text, edit->section);
    return ini->RemoveSection(edit->section);
  }
  if (edit->key.isNull()) return false;
  edit->touchedLines = KeyLines(text, edit->section, edit->key, kind == EditKind::ChangeValue);
  if (kind == EditKind::ChangeValue) {
    ini->SetValue(edit->section, edit->key, kValue);
    return true;
  }
  return ini->RemoveValue(edit->section, edit->key);
}

bool ReadsBack(EditKind kind, const Edit& edit, const OdbcIni& written) {
  switch (kind) {
    case EditKind::RemoveSection: return !written.HasSection(edit.section);
    case EditKind::RemoveValue: return written.Value(edit.section, edit.key).isEmpty();
    default: return written.Value(edit.section, edit.key) == kValue;
  }
}

bool UntouchedEntriesReadTheSame(const OdbcIni& before, const Edit& edit, const OdbcIni& written) {
  for (const QString& name : before.SectionNames()) {
    const bool editedSection = SameName(name, edit.section);
    if (editedSection && edit.key.isNull()) continue;
    for (const OdbcIni::Entry& entry : before.FindSection(name)->entries) {
      if (entry.key.isEmpty() || (editedSection && SameName(entry.key, edit.key))) continue;
      if (written.Value(name, entry.key) != before.Value(name, entry.key)) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto kind = static_cast<EditKind>(data[0] % static_cast<uint8_t>(EditKind::Count));
  const QByteArray text(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
  const OdbcIni before = OdbcIni::Parse(text);
  Check(before.Serialize() == text);

  OdbcIni ini = before;
  Edit edit;
  if (!MakeEdit(kind, text, &ini, &edit)) return 0;
  const QByteArray result = ini.Serialize();
  const OdbcIni written = OdbcIni::Parse(result);
  Check(fuzzlines::KeepsUntouchedLines(text, edit.touchedLines, result));
  Check(UntouchedEntriesReadTheSame(before, edit, written));
  Check(ReadsBack(kind, edit, written));
  return 0;
}
