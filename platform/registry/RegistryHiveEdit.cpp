#include "platform/registry/RegistryHiveEdit.h"

#include <algorithm>

namespace platform {

void RegistryHiveEdit::CreateKey(const QStringList& path) {
  const RegistryHive::Key* key = &hive_.root();
  // A new hive starts with its root's line, as regedit writes one.
  if (key->sections.isEmpty() && key->children.empty()) AppendSection({});
  QStringList written;
  for (const QString& part : path) {
    const RegistryHive::Key* child = nullptr;
    if (key != nullptr) {
      const auto found = key->children.find(part.toCaseFolded());
      if (found != key->children.end()) child = found->second.get();
    }
    written.append(child != nullptr ? child->name : part);
    if (child == nullptr) AppendSection(written);
    key = child;
  }
}

void RegistryHiveEdit::DeleteKey(const RegistryHive::Key& key) {
  for (const RegistryHive::Section& section : key.sections)
    Replace(BlankLineBefore(section.header.begin), section.end, UnreadableLinesIn(section));
  // A parent that has no line of its own exists only through this key's line.
  const RegistryHive::Key* parent = key.parent;
  if (parent != nullptr && parent->parent != nullptr && parent->sections.isEmpty() && parent->children.size() == 1)
    AppendSection(RegistryHive::PathOf(*parent));
}

void RegistryHiveEdit::SetValue(const RegistryHive::Key& key, const QString& name, const RegistryValue& value) {
  if (const RegistryHive::Value* existing = RegistryHive::FindValue(key, name)) {
    const RegistryHive::Line& last = existing->lines.last();
    Replace(last.begin, last.end, RegistryHive::ValueLine(existing->name, value) + LineBreakOf(last));
    return;
  }
  const QByteArray line = RegistryHive::ValueLine(name, value);
  const QByteArray lineBreak = hive_.lineBreak();
  if (key.sections.isEmpty()) {
    AppendSection(RegistryHive::PathOf(key));
    appended_ += line + lineBreak;
    return;
  }
  const qsizetype at = key.sections.last().end;
  const bool endsLine = hive_.text().at(at - 1) == '\n';
  Replace(at, at, (endsLine ? QByteArray() : lineBreak) + line + lineBreak);
}

bool RegistryHiveEdit::DeleteValue(const RegistryHive::Key& key, const QString& name) {
  const RegistryHive::Value* existing = RegistryHive::FindValue(key, name);
  if (existing == nullptr) return false;
  for (const RegistryHive::Line& line : existing->lines) Replace(line.begin, line.end, {});
  return true;
}

QByteArray RegistryHiveEdit::Result() const {
  std::vector<Splice> ordered = splices_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
  const QByteArray& text = hive_.text();
  const QByteArray lineBreak = hive_.lineBreak();
  QByteArray out;
  out.reserve(text.size() + appended_.size() + 64);
  // A text without a header holds no key, so no splice lies before the header.
  qsizetype at = 0;
  if (!hive_.hasHeader()) {
    at = hive_.HeaderPosition();
    out += QByteArrayView(text).first(at);
    out += RegistryHive::HeaderLine() + lineBreak;
  }
  for (const Splice& splice : ordered) {
    out += QByteArrayView(text).sliced(at, splice.begin - at);
    out += splice.replacement;
    at = splice.end;
  }
  out += QByteArrayView(text).sliced(at);
  if (!appended_.isEmpty() && !out.endsWith('\n')) out += lineBreak;
  return out + appended_;
}

void RegistryHiveEdit::Replace(qsizetype begin, qsizetype end, QByteArray replacement) {
  splices_.push_back(Splice{begin, end, std::move(replacement)});
}

void RegistryHiveEdit::AppendSection(const QStringList& path) {
  const QByteArray lineBreak = hive_.lineBreak();
  appended_ += lineBreak + hive_.SectionLine(path) + lineBreak;
}

QByteArray RegistryHiveEdit::UnreadableLinesIn(const RegistryHive::Section& section) const {
  QByteArray kept;
  for (const RegistryHive::UnreadableLine& unreadable : hive_.unreadableLines()) {
    const RegistryHive::Line& line = unreadable.line;
    if (line.begin >= section.header.end && line.end <= section.end)
      kept += QByteArrayView(hive_.text()).sliced(line.begin, line.end - line.begin);
  }
  return kept;
}

qsizetype RegistryHiveEdit::BlankLineBefore(qsizetype pos) const {
  const QByteArray& text = hive_.text();
  if (pos < 2 || text[pos - 1] != '\n') return pos;
  const qsizetype begin = text.lastIndexOf('\n', pos - 2) + 1;
  const QByteArrayView line = QByteArrayView(text).sliced(begin, pos - begin);
  return line == "\n" || line == "\r\n" ? begin : pos;
}

QByteArray RegistryHiveEdit::LineBreakOf(const RegistryHive::Line& line) const {
  const QByteArrayView text = QByteArrayView(hive_.text()).sliced(line.begin, line.end - line.begin);
  if (text.endsWith("\r\n")) return "\r\n";
  return text.endsWith('\n') ? QByteArray("\n") : QByteArray();
}

}  // namespace platform
