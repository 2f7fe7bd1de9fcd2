#include "platform/OdbcIni.h"

namespace platform {
namespace {

bool IsComment(const QString& line) {
  return line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#');
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool HasLineBreakOrZero(const QString& text) {
  return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(u'\0'));
}

}  // namespace

OdbcIni OdbcIni::Parse(const QByteArray& text) {
  OdbcIni ini;
  QList<Entry>* target = &ini.preamble_;
  for (const QByteArray& rawLine : text.split('\n')) {
    const QString line = QString::fromUtf8(rawLine).trimmed();
    if (line.startsWith(u'[')) {
      const qsizetype end = line.indexOf(u']');
      ini.sections_.append({line.mid(1, end < 0 ? -1 : end - 1).trimmed(), {}});
      target = &ini.sections_.last().entries;
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (IsComment(line) || equals <= 0) {
      target->append({QString(), line});
      continue;
    }
    target->append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
  }
  // The split leaves one empty line after the final line break.
  QList<Entry>& last = ini.sections_.isEmpty() ? ini.preamble_ : ini.sections_.last().entries;
  if (!last.isEmpty() && last.last().key.isEmpty() && last.last().value.isEmpty()) last.removeLast();
  return ini;
}

QByteArray OdbcIni::Serialize() const {
  QString text;
  const auto append = [&text](const QList<Entry>& entries) {
    for (const Entry& entry : entries) {
      text += entry.key.isEmpty() ? entry.value : entry.key + u'=' + entry.value;
      text += u'\n';
    }
  };
  append(preamble_);
  for (const Section& section : sections_) {
    text += u'[' + section.name + QStringLiteral("]\n");
    append(section.entries);
  }
  return text.toUtf8();
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
    sections_.append({section, {}});
    found = &sections_.last();
  }
  for (Entry& entry : found->entries) {
    if (!entry.key.isEmpty() && SameName(entry.key, key)) {
      entry.value = value;
      return;
    }
  }
  found->entries.append({key, value});
}

bool OdbcIni::RemoveValue(const QString& section, const QString& key) {
  Section* found = FindMutable(section);
  if (found == nullptr) return false;
  return found->entries.removeIf([&key](const Entry& entry) {
           return !entry.key.isEmpty() && SameName(entry.key, key);
         }) > 0;
}

bool OdbcIni::RemoveSection(const QString& section) {
  return sections_.removeIf([&section](const Section& candidate) {
           return SameName(candidate.name, section);
         }) > 0;
}

void OdbcIni::ReplaceSection(const Section& section) {
  if (Section* found = FindMutable(section.name)) {
    found->entries = section.entries;
    return;
  }
  sections_.append(section);
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
