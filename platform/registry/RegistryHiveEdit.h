#pragma once

#include "platform/registry/RegistryHive.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace platform {

// The changes of one write to a hive, made as changes of lines of its text: a value's line is
// replaced, added below its key's last line or removed; a new key's line is added at the end.
// Every other line of the file stays byte for byte, whatever its encoding, blanks or line break.
class RegistryHiveEdit {
 public:
  explicit RegistryHiveEdit(const RegistryHive& hive) : hive_(hive) {}

  const RegistryHive& hive() const { return hive_; }
  bool changed() const { return !splices_.empty() || !appended_.isEmpty(); }

  // Adds the lines of the key at `path` below the root and of every parent that does not exist.
  void CreateKey(const QStringList& path);
  // Removes a key and its values; the caller makes sure it has no subkeys. Lines among them that
  // cannot be read stay, as nothing can tell what they were meant to be.
  void DeleteKey(const RegistryHive::Key& key);
  void SetValue(const RegistryHive::Key& key, const QString& name, const RegistryValue& value);
  // False when the key has no such value.
  bool DeleteValue(const RegistryHive::Key& key, const QString& name);

  // The hive's text with the changes.
  QByteArray Result() const;

 private:
  struct Splice {
    qsizetype begin;
    qsizetype end;
    QByteArray replacement;
  };

  void Replace(qsizetype begin, qsizetype end, QByteArray replacement);
  void AppendSection(const QStringList& path);
  // The lines of the section that cannot be read, as they are.
  QByteArray UnreadableLinesIn(const RegistryHive::Section& section) const;
  // Where the blank line right before `pos` begins; `pos` when there is none.
  qsizetype BlankLineBefore(qsizetype pos) const;
  // The line break that ends the line [begin, end).
  QByteArray LineBreakOf(const RegistryHive::Line& line) const;

  const RegistryHive& hive_;
  std::vector<Splice> splices_;
  QByteArray appended_;  // key lines that go after the end of the text
};

}  // namespace platform
