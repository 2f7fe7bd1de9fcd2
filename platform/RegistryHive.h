#pragma once

#include "platform/Registry.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <map>

namespace platform {

// One hive in memory: its keys by path (below the hive's root, separated by backslashes) and
// their values, and its text form in the regedit export style:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Key]
//   "Text"="a \"quoted\" \\ value"
//   "Number"=dword:0000000c
//   "Bytes"=hex:01,ff
//
// A text with control characters, and any value whose bytes are not of its type's plain form,
// is written as hex(type):... so that every value reads back byte for byte.
class RegistryHive {
 public:
  struct Value {
    QString name;
    RegistryValue value;
  };
  struct Key {
    QString path;  // as first written; "" is the hive's root
    QList<Value> values;
  };

  explicit RegistryHive(QString hiveName);

  // Replaces the content with the parsed text; on failure the hive is left empty and `error`
  // says which line is wrong and why.
  bool Parse(const QByteArray& text, QString* error);
  QByteArray Serialize() const;

  const Key* FindKey(const QString& path) const;
  Key* FindKey(const QString& path);
  // The key, created with any missing parents.
  Key* CreateKey(const QString& path);
  void RemoveKey(const QString& path);
  // Direct subkey names in the case they were written, ordered case-insensitively.
  QStringList SubkeyNames(const QString& path) const;

  static const Value* FindValue(const Key& key, const QString& name);
  static Value* FindValue(Key& key, const QString& name);

  // False for a key or value name the text form cannot hold: a control character would break
  // its line, and so the whole file, and a lone surrogate has no UTF-8 form.
  static bool CanHoldName(QStringView name);

 private:
  static QString Fold(const QString& path) { return path.toCaseFolded(); }
  bool ParseSection(const QString& line, Key** current, QString* error);
  bool ParseValueLine(const QString& line, Key* current, QString* error);

  QString hiveName_;
  std::map<QString, Key> keys_;  // by folded path
};

}  // namespace platform
