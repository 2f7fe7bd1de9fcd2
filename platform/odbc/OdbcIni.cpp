#include "platform/odbc/OdbcIni.h"

#include "platform/text/Utf8Text.h"

namespace platform {
namespace {

bool IsComment(const QString& line) {
  return line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#');
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool HasLineBreakOrZero(const QString& text) {
  return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(u'\0'));
}

QByteArrayView WithoutBom(QByteArrayView line) {
  return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

// The line as a section's header reads: byte-order marks before it count for nothing, so that a
// header keeps its meaning when an edit brings it to the start of the file, where a mark is dropped.
QString HeaderText(QString line) {
  while (line.startsWith(QChar(0xFEFF))) line = line.mid(1).trimmed();
  return line;
}

QByteArray LineBreakOf(const QByteArray& line) {
  if (line.endsWith("\r\n")) return "\r\n";
  return line.endsWith('\n') ? QByteArray("\n") : QByteArray();
}

// The index of the last key entry; -1 when there is none.
qsizetype LastKeyIndex(const QList<OdbcIni::Entry>& entries) {
  for (qsizetype i = entries.size() - 1; i >= 0; --i) {
    if (!entries[i].key.isEmpty()) return i;
  }
  return -1;
}

}  // namespace

OdbcIni OdbcIni::Parse(const QByteArray& text) {
  OdbcIni ini;
  const qsizetype firstBreak = text.indexOf('\n');
  if (firstBreak > 0 && text[firstBreak - 1] == '\r') ini.lineBreak_ = "\r\n";
  QList<Entry>* target = &ini.preamble_;
  for (qsizetype begin = 0; begin < text.size();) {
    const qsizetype newline = text.indexOf('\n', begin);
    const qsizetype end = newline < 0 ? text.size() : newline + 1;
    const QByteArray raw = text.mid(begin, end - begin);
    const bool startsFile = begin == 0;
    begin = end;
    const QString line = FromUtf8KeepingBom(startsFile ? WithoutBom(raw) : QByteArrayView(raw)).trimmed();
    const QString header = HeaderText(line);
    if (header.startsWith(u'[')) {
      const qsizetype close = header.indexOf(u']');
      ini.sections_.append({header.mid(1, close < 0 ? -1 : close - 1).trimmed(), {}, raw});
      target = &ini.sections_.last().entries;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (IsComment(line) || equals <= 0) {
      target->append({QString(), line, raw});
      continue;
    }
    target->append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed(), raw});
  }
  return ini;
}

QByteArray OdbcIni::Serialize() const {
  QByteArray out;
  const auto append = [&](const QByteArray& raw, const QString& formatted) {
    if (!out.isEmpty() && !out.endsWith('\n')) out += lineBreak_;
    out += raw.isEmpty() ? formatted.toUtf8() + lineBreak_ : raw;
  };
  const auto appendEntries = [&](const QList<Entry>& entries) {
    for (const Entry& entry : entries) append(entry.line, entry.key.isEmpty() ? entry.value : entry.key + u'=' + entry.value);
  };
  appendEntries(preamble_);
  for (const Section& section : sections_) {
    append(section.header, u'[' + section.name + u']');
    appendEntries(section.entries);
  }
  return out;
}

QStringList OdbcIni::SectionNames() const {
  QStringList names;
  for (const Section& section : sections_) names.append(section.name);
  return names;
}

bool OdbcIni::HasSection(const QString& section) const { return FindSection(section) != nullptr; }

const OdbcIni::Section* OdbcIni::FindSection(const QString& section) const {
  for (const Section& candidate : sections_) {
    if (SameName(candidate.name, section)) return &candidate;
  }
  return nullptr;
}

OdbcIni::Section* OdbcIni::FindMutable(const QString& section) {
  for (Section& candidate : sections_) {
    if (SameName(candidate.name, section)) return &candidate;
  }
  return nullptr;
}

QString OdbcIni::Value(const QString& section, const QString& key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return {};
  for (const Entry& entry : found->entries) {
    if (!entry.key.isEmpty() && SameName(entry.key, key)) return entry.value;
  }
  return {};
}

void OdbcIni::SetValue(const QString& section, const QString& key, const QString& value) {
  Section* found = FindMutable(section);
  if (found == nullptr) {
    sections_.append({section, {}, {}});
    found = &sections_.last();
  }
  for (Entry& entry : found->entries) {
    if (!entry.key.isEmpty() && SameName(entry.key, key)) {
      entry.value = value;
      entry.line = (entry.key + u'=' + value).toUtf8() + LineBreakOf(entry.line);
      return;
    }
  }
  found->entries.insert(LastKeyIndex(found->entries) + 1, {key, value, {}});
}

bool OdbcIni::RemoveValue(const QString& section, const QString& key) {
  Section* found = FindMutable(section);
  if (found == nullptr) return false;
  return found->entries.removeIf([&key](const Entry& entry) {
           return !entry.key.isEmpty() && SameName(entry.key, key);
         }) > 0;
}

bool OdbcIni::RemoveSection(const QString& section) {
  bool removed = false;
  for (qsizetype i = sections_.size() - 1; i >= 0; --i) {
    if (!SameName(sections_[i].name, section)) continue;
    // Comments after its last key most likely speak of what follows: they stay.
    const QList<Entry>& entries = sections_[i].entries;
    QList<Entry>& before = i == 0 ? preamble_ : sections_[i - 1].entries;
    before.append(entries.mid(LastKeyIndex(entries) + 1));
    sections_.removeAt(i);
    removed = true;
  }
  return removed;
}

void OdbcIni::ReplaceSection(const Section& section) {
  Section* found = FindMutable(section.name);
  if (found == nullptr) {
    sections_.append(section);
    return;
  }
  QList<Entry>& entries = found->entries;
  qsizetype at = 0;
  while (at < entries.size() && entries[at].key.isEmpty()) ++at;
  if (at == entries.size()) at = 0;
  // Only comments stand before `at`, so removing the keys leaves it in place.
  entries.removeIf([](const Entry& entry) { return !entry.key.isEmpty(); });
  for (const Entry& entry : section.entries) entries.insert(at++, {entry.key, entry.value, {}});
}

QString OdbcIni::CheckSectionName(const QString& name) {
  if (name.trimmed().isEmpty()) return QStringLiteral("The name is empty.");
  if (name != name.trimmed()) return QStringLiteral("The name begins or ends with a blank.");
  if (name.contains(u'[') || name.contains(u']') || HasLineBreakOrZero(name)) {
    return QStringLiteral("The name holds a bracket, a line break or a zero character.");
  }
  return {};
}

QString OdbcIni::CheckKey(const QString& key) {
  if (key.isEmpty() || key != key.trimmed() || key.contains(u'=') || key.startsWith(u'[') ||
      key.startsWith(u';') || key.startsWith(u'#') || HasLineBreakOrZero(key)) {
    return QStringLiteral("The key \"%1\" cannot be stored in an ODBC file.").arg(key);
  }
  return {};
}

QString OdbcIni::CheckValue(const QString& value) {
  if (HasLineBreakOrZero(value)) return QStringLiteral("The value holds a line break or a zero character.");
  if (value != value.trimmed()) return QStringLiteral("The value begins or ends with a blank.");
  return {};
}

}  // namespace platform
