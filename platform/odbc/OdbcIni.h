#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// One ODBC configuration file (odbc.ini, odbcinst.ini) in memory: sections of "Key=Value"
// entries in file order. Section and key names compare case-insensitively, as unixODBC compares
// them, and keep the case they were written with. Every line keeps its bytes as read, so that a
// write changes only the lines of what it writes: another program's entries stay byte for byte,
// whatever their encoding, blanks or line breaks.
class OdbcIni {
 public:
  struct Entry {
    QString key;      // empty for a comment or blank line kept as it was
    QString value;    // the comment line itself when key is empty
    QByteArray line = {};  // the line as read, with its line break; empty for a new entry
  };
  struct Section {
    QString name;
    QList<Entry> entries;
    QByteArray header = {};  // the [name] line as read; empty for a new section
  };

  static OdbcIni Parse(const QByteArray& text);
  QByteArray Serialize() const;

  QStringList SectionNames() const;
  bool HasSection(const QString& section) const;
  // The value, or an empty text when the section or key is missing.
  QString Value(const QString& section, const QString& key) const;
  const Section* FindSection(const QString& section) const;

  // Sets the value, adding the key (after the section's last key) and the section (at the end)
  // when missing.
  void SetValue(const QString& section, const QString& key, const QString& value);
  bool RemoveValue(const QString& section, const QString& key);
  bool RemoveSection(const QString& section);
  // Replaces the keys of the section (or adds it), in the order given; its comments stay.
  void ReplaceSection(const Section& section);

  // Empty when unixODBC would read the name or value back as written; else why not.
  static QString CheckSectionName(const QString& name);
  static QString CheckKey(const QString& key);
  static QString CheckValue(const QString& value);

 private:
  Section* FindMutable(const QString& section);

  QList<Entry> preamble_;  // lines before the first section
  QList<Section> sections_;
  QByteArray lineBreak_ = "\n";  // the one of the file's first line, for new lines
};

}  // namespace platform
