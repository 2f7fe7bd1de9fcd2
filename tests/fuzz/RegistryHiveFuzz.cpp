// Any bytes that parse as a hive take each kind of edit: the written text parses again, every
// line the edit did not touch is in it byte for byte (the unreadable ones too, and unreadable
// still), every value the edit did not touch reads the same and the edit itself reads back.
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryHiveEdit.h"
#include "tests/fuzz/FuzzLines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using platform::RegistryHive;
using platform::RegistryHiveEdit;
using platform::RegistryValue;
using Key = RegistryHive::Key;

const QString kHiveName = QStringLiteral("HKEY_LOCAL_MACHINE");
const QString kAddedName = QStringLiteral("fuzz-added");
const QStringList kCreatedPath{QStringLiteral("Fuzz"), QStringLiteral("Created")};

enum class EditKind { AddValue, ChangeValue, DeleteValue, DeleteKey, CreateKey, Count };

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every key of the tree, parents first; without recursion, whose depth the input decides.
std::vector<const Key*> KeysOf(const Key& root) {
  std::vector<const Key*> keys{&root};
  for (size_t i = 0; i < keys.size(); ++i) {
    for (const auto& [folded, child] : keys[i]->children) keys.push_back(child.get());
  }
  return keys;
}

const Key* FindPath(const RegistryHive& hive, const QStringList& path) {
  const Key* key = &hive.root();
  for (const QString& part : path) {
    const auto found = key->children.find(part.toCaseFolded());
    if (found == key->children.end()) return nullptr;
    key = found->second.get();
  }
  return key;
}

const Key* FirstKey(const RegistryHive& hive, const std::function<bool(const Key&)>& wanted) {
  for (const Key* key : KeysOf(hive.root())) {
    if (wanted(*key)) return key;
  }
  return nullptr;
}

QByteArray LineBytes(const RegistryHive& hive, const RegistryHive::Line& line) {
  return hive.text().sliced(line.begin, line.end - line.begin);
}

QList<QByteArray> UnreadableLines(const RegistryHive& hive) {
  QList<QByteArray> lines;
  for (const RegistryHive::UnreadableLine& unreadable : hive.unreadableLines()) {
    QByteArray bytes = LineBytes(hive, unreadable.line);
    while (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
    lines.append(bytes);
  }
  return lines;
}

// One edit as the registry makes it: the lines it may change or remove, and what it changes.
struct Edit {
  QSet<qsizetype> touchedLines;
  const Key* key = nullptr;  // whose values may change; all of them when `valueName` is null
  QString valueName;
};

void MarkKeyLines(const RegistryHive& hive, const Key& key, Edit* edit) {
  QSet<qsizetype> unreadable;
  for (const RegistryHive::UnreadableLine& line : hive.unreadableLines()) unreadable.insert(line.line.begin);
  for (const RegistryHive::Section& section : key.sections) {
    for (const fuzzlines::Line& line : fuzzlines::LinesOf(hive.text())) {
      const bool blankBefore = line.begin + line.bytes.size() == section.header.begin &&
                               (line.bytes == "\n" || line.bytes == "\r\n");
      const bool inside = line.begin >= section.header.begin && line.begin < section.end && !unreadable.contains(line.begin);
      if (blankBefore || inside) edit->touchedLines.insert(line.begin);
    }
  }
}

bool MakeEdit(EditKind kind, const RegistryHive& hive, RegistryHiveEdit* changes, Edit* edit) {
  switch (kind) {
    case EditKind::AddValue:
      edit->key = FirstKey(hive, [](const Key& key) { return !key.sections.isEmpty() && !RegistryHive::FindValue(key, kAddedName); });
      if (edit->key == nullptr) return false;
      changes->SetValue(*edit->key, kAddedName, RegistryValue::FromDword(7));
      edit->valueName = kAddedName;
      break;
    case EditKind::ChangeValue:
    case EditKind::DeleteValue: {
      edit->key = FirstKey(hive, [](const Key& key) { return !key.values.empty(); });
      if (edit->key == nullptr) return false;
      const RegistryHive::Value& value = edit->key->values.front();
      edit->valueName = value.name;
      if (kind == EditKind::ChangeValue) {
        changes->SetValue(*edit->key, value.name, RegistryValue::FromString(QStringLiteral("changed")));
        edit->touchedLines.insert(value.lines.last().begin);
      } else {
        changes->DeleteValue(*edit->key, value.name);
        for (const RegistryHive::Line& line : value.lines) edit->touchedLines.insert(line.begin);
      }
      break;
    }
    case EditKind::DeleteKey:
      edit->key = FirstKey(hive, [](const Key& key) { return key.parent != nullptr && key.children.empty(); });
      if (edit->key == nullptr) return false;
      changes->DeleteKey(*edit->key);
      MarkKeyLines(hive, *edit->key, edit);
      break;
    default:
      changes->CreateKey(kCreatedPath);
      break;
  }
  return true;
}

bool ReadsBack(EditKind kind, const Edit& edit, const RegistryHive& written) {
  if (kind == EditKind::CreateKey) return FindPath(written, kCreatedPath) != nullptr;
  const Key* key = FindPath(written, RegistryHive::PathOf(*edit.key));
  if (kind == EditKind::DeleteKey) return key == nullptr;
  const RegistryHive::Value* value = key == nullptr ? nullptr : RegistryHive::FindValue(*key, edit.valueName);
  if (kind == EditKind::DeleteValue) return value == nullptr;
  const RegistryValue expected = kind == EditKind::AddValue ? RegistryValue::FromDword(7)
                                                            : RegistryValue::FromString(QStringLiteral("changed"));
  return value != nullptr && value->value.type == expected.type && value->value.data == expected.data;
}

bool UntouchedValuesReadTheSame(const RegistryHive& before, const Edit& edit, const RegistryHive& written) {
  for (const Key* key : KeysOf(before.root())) {
    if (key == edit.key && edit.valueName.isNull()) continue;
    const Key* again = FindPath(written, RegistryHive::PathOf(*key));
    if (again == nullptr) return false;
    for (const RegistryHive::Value& value : key->values) {
      if (key == edit.key && value.name.compare(edit.valueName, Qt::CaseInsensitive) == 0) continue;
      const RegistryHive::Value* read = RegistryHive::FindValue(*again, value.name);
      if (read == nullptr || read->value.type != value.value.type || read->value.data != value.value.data) return false;
    }
  }
  return true;
}

// Where the header goes in front of every line, a byte-order mark before it stays first.
QByteArray WithoutByteOrderMark(const QByteArray& text) { return text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto kind = static_cast<EditKind>(data[0] % static_cast<uint8_t>(EditKind::Count));
  RegistryHive hive(kHiveName);
  QString error;
  if (!hive.Parse(QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1)), &error)) return 0;

  RegistryHiveEdit changes(hive);
  Edit edit;
  if (!MakeEdit(kind, hive, &changes, &edit)) return 0;
  const QByteArray result = changes.Result();
  RegistryHive written(kHiveName);
  Check(written.Parse(result, &error));
  Check(written.hasHeader());
  const bool moved = !hive.hasHeader();
  Check(fuzzlines::KeepsUntouchedLines(moved ? WithoutByteOrderMark(hive.text()) : hive.text(), edit.touchedLines,
                                       moved ? WithoutByteOrderMark(result) : result));
  Check(UnreadableLines(written) == UnreadableLines(hive));
  Check(UntouchedValuesReadTheSame(hive, edit, written));
  Check(ReadsBack(kind, edit, written));
  return 0;
}
