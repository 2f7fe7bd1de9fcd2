#include "platform/standin/SchemaIniReader.h"

#include <QRegularExpression>
#include <QStringList>

namespace platform {
namespace {

// UTF-16LE without a byte-order mark shows a zero byte after its first (ASCII) character.
TextCharset SchemaCharset(const QByteArray& bytes) {
  const TextCharset marked = CharsetByByteOrderMark(bytes, TextCharset::Ansi);
  if (marked != TextCharset::Ansi) return marked;
  return bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0' ? TextCharset::Utf16Le : TextCharset::Ansi;
}

bool ParseBool(const QString& value, bool* result) {
  if (value.compare(u"True", Qt::CaseInsensitive) == 0) {
    *result = true;
    return true;
  }
  if (value.compare(u"False", Qt::CaseInsensitive) == 0) {
    *result = false;
    return true;
  }
  return false;
}

bool ParseDelimiter(const QString& value, QChar* delimiter) {
  if (value.compare(u"TabDelimited", Qt::CaseInsensitive) == 0) {
    *delimiter = u'\t';
    return true;
  }
  if (value.compare(u"CSVDelimited", Qt::CaseInsensitive) == 0) {
    *delimiter = u',';
    return true;
  }
  static const QRegularExpression kDelimited(QStringLiteral("^Delimited\\((.)\\)$"),
                                             QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = kDelimited.match(value);
  if (!match.hasMatch() || match.captured(1) == u"\"") return false;
  *delimiter = match.captured(1).front();
  return true;
}

bool ParseCharset(const QString& value, TextCharset* charset) {
  const QString name = value.toUpper();
  if (name == u"ANSI" || name == u"1252") {
    *charset = TextCharset::Ansi;
  } else if (name == u"UNICODE" || name == u"1200") {
    *charset = TextCharset::Utf16Le;
  } else if (name == u"UTF-8" || name == u"65001") {
    *charset = TextCharset::Utf8;
  } else if (name == u"28591" || name == u"ISO-8859-1") {
    *charset = TextCharset::Latin1;
  } else {
    return false;
  }
  return true;
}

bool ApplyEntry(const QString& key, const QString& value, TextFileFormat* format) {
  if (key.compare(u"ColNameHeader", Qt::CaseInsensitive) == 0) return ParseBool(value, &format->columnNamesInFirstRow);
  if (key.compare(u"Format", Qt::CaseInsensitive) == 0) return ParseDelimiter(value, &format->delimiter);
  if (key.compare(u"CharacterSet", Qt::CaseInsensitive) == 0) {
    TextCharset charset = TextCharset::Ansi;
    if (!ParseCharset(value, &charset)) return false;
    format->charset = charset;
  }
  return true;
}

}  // namespace

bool SchemaIniReader::Parse(const QByteArray& bytes, SchemaIniReader* schema, QString* error) {
  QString text;
  QString problem;
  if (!DecodeText(bytes, SchemaCharset(bytes), &text, &problem)) {
    *error = QStringLiteral("schema.ini cannot be read: %1.").arg(problem);
    return false;
  }
  schema->sections_.clear();
  const QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\n|\\r")));
  for (qsizetype number = 1; number <= lines.size(); ++number) {
    const QString line = lines[number - 1].trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    const qsizetype equals = line.indexOf(u'=');
    if (line.startsWith(u'[') && line.endsWith(u']') && line.size() > 2) {
      schema->sections_.append({line.mid(1, line.size() - 2).trimmed(), {}});
    } else if (equals > 0 && !schema->sections_.isEmpty()) {
      schema->sections_.last().entries.append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    } else {
      *error = QStringLiteral("schema.ini, line %1: \"%2\" is neither a [file name] section nor a key=value entry "
                              "of one.")
                   .arg(number)
                   .arg(line);
      return false;
    }
  }
  return true;
}

bool SchemaIniReader::FormatOf(const QString& fileName, TextFileFormat* format, QString* error) const {
  *format = TextFileFormat();
  for (const Section& section : sections_) {
    if (section.name.compare(fileName, Qt::CaseInsensitive) != 0) continue;
    for (const auto& [key, value] : section.entries) {
      if (ApplyEntry(key, value, format)) continue;
      *error = QStringLiteral("schema.ini, section [%1]: %2=%3 is not a value the text driver takes here.")
                   .arg(section.name, key, value);
      return false;
    }
  }
  return true;
}

}  // namespace platform
