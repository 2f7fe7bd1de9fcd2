#pragma once

#include "platform/registry/Registry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>
#include <memory>
#include <vector>

namespace platform {

// One hive file parsed: the tree of its keys and values, and the line of the file each comes
// from. The text is in the regedit export style:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Key]
//   "Text"="a \"quoted\" \\ value"
//   "Number"=dword:0000000c
//   "Bytes"=hex:01,ff
//
// A text with control characters, and any value whose bytes are not of its type's plain form,
// is written as hex(type):... so that every value reads back byte for byte. A parsed hive never
// changes: RegistryHiveEdit makes the next text from it. Parsing takes time and memory linear in
// the file: keys are a tree of name parts, never a copy of the full path per key.
class RegistryHive {
 public:
  // Bytes [begin, end) of the text: one line with its line break.
  struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
  };
  struct Value {
    QString name;
    RegistryValue value;
    QList<Line> lines;  // every line that sets it; the last one counts
  };
  // A [key] line and the value lines below it; `end` is where the last of them ends.
  struct Section {
    Line header;
    qsizetype end = 0;
  };
  // A line the parser cannot read: it counts for nothing and stays as it is.
  struct UnreadableLine {
    Line line;
    qsizetype number = 0;  // from 1
    QString problem;
  };
  struct Key {
    QString name;  // the last part of its path as first written; "" for the hive's root
    const Key* parent = nullptr;
    std::map<QString, std::unique_ptr<Key>> children;  // by case-folded name, so in that order
    std::vector<Value> values;                         // in the order first set
    QHash<QString, qsizetype> valueIndex;              // case-folded name -> index in values
    QList<Section> sections;                           // none for a key only its subkeys name
  };

  explicit RegistryHive(QString hiveName);
  ~RegistryHive();
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  // Takes the text and parses it. A line that cannot be read costs that line only (and the
  // values below a key line that cannot be read); the text as a whole is refused only when its
  // first line is not the header, as it is then no hive. On failure `error` says why and the
  // hive is left empty.
  bool Parse(QByteArray text, QString* error);

  const QString& hiveName() const { return hiveName_; }
  const QByteArray& text() const { return text_; }
  bool hasHeader() const { return hasHeader_; }
  // Where a header goes into a text that has none: behind its byte-order mark, if any.
  qsizetype HeaderPosition() const;
  const QList<UnreadableLine>& unreadableLines() const { return unreadable_; }
  // The line break the file uses ("\r\n" when its first line ends so).
  QByteArray lineBreak() const;

  const Key& root() const { return *root_; }
  // The key at a backslash-separated path below the root; "" is the root.
  const Key* FindKey(QStringView path) const;
  static const Value* FindValue(const Key& key, QStringView name);
  // The names of the key and its parents below the root, outermost first.
  static QStringList PathOf(const Key& key);

  // The lines this hive's text is made of, without their line break.
  static QByteArray HeaderLine();
  QByteArray SectionLine(const QStringList& path) const;
  static QByteArray ValueLine(const QString& name, const RegistryValue& value);

  // False for a key or value name the text form cannot hold: a control character would break
  // its line, and so the whole file, and a lone surrogate has no UTF-8 form.
  static bool CanHoldName(QStringView name);

 private:
  bool ParseLine(QByteArrayView content, const Line& line, Key** current, QString* error);
  bool ParseSection(QByteArrayView content, const Line& line, Key** current, QString* error);
  static bool ParseValueLine(QByteArrayView content, const Line& line, Key* current, QString* error);
  Key* Child(Key* parent, const QString& name);
  void Clear();
  static void Release(std::unique_ptr<Key> root);

  QString hiveName_;
  QByteArray text_;
  bool hasHeader_ = false;
  QList<UnreadableLine> unreadable_;
  std::unique_ptr<Key> root_;
};

}  // namespace platform
