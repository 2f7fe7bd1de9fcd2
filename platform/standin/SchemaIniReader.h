#pragma once

#include "platform/text/TextDecoding.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace platform {

// How a text file of a folder is read, from its section of the folder's schema.ini.
struct TextFileFormat {
  bool columnNamesInFirstRow = true;
  QChar delimiter = u',';
  // Nothing: the byte-order mark decides, else code page 1252.
  std::optional<TextCharset> charset;
};

// A folder's schema.ini: one [file name] section per text file. The Windows text driver's keys
// ColNameHeader, Format and CharacterSet are honoured; other keys are not used here.
class SchemaIniReader {
 public:
  // False, with the line and why in `error`, when a line is neither a [section], a key=value
  // entry, a comment nor blank. The file may be UTF-16LE (with or without a byte-order mark, as
  // the workbook export writes it), UTF-8 or code page 1252.
  static bool Parse(const QByteArray& bytes, SchemaIniReader* schema, QString* error);

  // The format of `fileName` (compared case-insensitively): the defaults when it has no section;
  // false, with why in `error`, when a value of its section is not one the driver knows.
  bool FormatOf(const QString& fileName, TextFileFormat* format, QString* error) const;

 private:
  struct Section {
    QString name;
    QList<QPair<QString, QString>> entries;
  };
  QList<Section> sections_;
};

}  // namespace platform
