#include "platform/standin/TextFileTable.h"

#include <algorithm>

namespace platform {
namespace {

// Splits decoded text into records of fields.
class DelimitedTextReader {
 public:
  DelimitedTextReader(const QString& text, QChar delimiter) : text_(text), delimiter_(delimiter) {}

  // The next non-empty record; false at the end or on an error (then `error` is set).
  bool Next(QStringList* fields, QString* error);
  // The line on which the last record read starts (1-based).
  qsizetype RecordLine() const { return recordLine_; }

 private:
  bool AtEnd() const { return position_ >= text_.size(); }
  bool AtLineBreak() const { return text_[position_] == u'\n' || text_[position_] == u'\r'; }
  void SkipLineBreak();
  // A field from the current position up to (not past) its delimiter or line break.
  bool ReadField(QString* field, QString* error);
  bool ReadQuoted(QString* field, QString* error);

  const QString& text_;
  const QChar delimiter_;
  qsizetype position_ = 0;
  qsizetype line_ = 1;
  qsizetype recordLine_ = 1;
};

void DelimitedTextReader::SkipLineBreak() {
  if (text_[position_] == u'\r' && position_ + 1 < text_.size() && text_[position_ + 1] == u'\n') ++position_;
  ++position_;
  ++line_;
}

bool DelimitedTextReader::Next(QStringList* fields, QString* error) {
  while (!AtEnd() && AtLineBreak()) SkipLineBreak();
  if (AtEnd()) return false;
  recordLine_ = line_;
  fields->clear();
  for (;;) {
    QString field;
    if (!ReadField(&field, error)) return false;
    fields->append(field.isEmpty() ? QString() : field);
    if (AtEnd()) return true;
    if (AtLineBreak()) {
      SkipLineBreak();
      return true;
    }
    ++position_;  // the delimiter
  }
}

bool DelimitedTextReader::ReadField(QString* field, QString* error) {
  if (!AtEnd() && text_[position_] == u'"' && !ReadQuoted(field, error)) return false;
  // Text after a closing quote, or a whole unquoted field, is taken as written.
  const qsizetype start = position_;
  while (!AtEnd() && text_[position_] != delimiter_ && !AtLineBreak()) ++position_;
  field->append(QStringView(text_).mid(start, position_ - start));
  return true;
}

bool DelimitedTextReader::ReadQuoted(QString* field, QString* error) {
  const qsizetype openingLine = line_;
  ++position_;
  for (;;) {
    const qsizetype quote = text_.indexOf(u'"', position_);
    if (quote < 0) {
      *error = QStringLiteral("the quoted field that starts on line %1 is never closed").arg(openingLine);
      return false;
    }
    const QStringView part = QStringView(text_).mid(position_, quote - position_);
    line_ += part.count(u'\n') + part.count(u'\r') - part.count(u"\r\n");
    field->append(part);
    position_ = quote + 1;
    if (AtEnd() || text_[position_] != u'"') return true;
    field->append(u'"');
    ++position_;
  }
}

bool Decode(const QByteArray& bytes, const TextFileFormat& format, QString* text, QString* error) {
  const TextCharset charset = format.charset.value_or(CharsetByByteOrderMark(bytes, TextCharset::Ansi));
  return DecodeText(bytes, charset, text, error);
}

// The first record names the columns, or the widest record sets how many there are.
bool ReadRecords(DelimitedTextReader& reader, const TextFileFormat& format, StandInTable* table, QString* error) {
  QStringList fields;
  qsizetype width = 0;
  bool first = true;
  while (reader.Next(&fields, error)) {
    if (first && format.columnNamesInFirstRow) {
      table->columns = fields;
      width = fields.size();
    } else if (format.columnNamesInFirstRow && fields.size() > width) {
      *error = QStringLiteral("line %1 holds %2 fields, but the first line names %3 columns")
                   .arg(reader.RecordLine())
                   .arg(fields.size())
                   .arg(width);
      return false;
    } else {
      table->rows.append(fields);
    }
    first = false;
  }
  return error->isEmpty();
}

void SquareUp(StandInTable* table) {
  qsizetype width = table->columns.size();
  for (const QStringList& row : table->rows) width = std::max(width, row.size());
  table->columns.resize(width);
  for (QStringList& row : table->rows) row.resize(width);
  table->columns = UniqueColumnNames(table->columns);
}

}  // namespace

bool ReadTextFileTable(const QString& tableName, const QByteArray& bytes, const TextFileFormat& format,
                       StandInTable* table, QString* error) {
  *table = StandInTable{tableName, {}, {}, {}};
  QString text;
  QString problem;
  if (Decode(bytes, format, &text, &problem)) {
    DelimitedTextReader reader(text, format.delimiter);
    if (ReadRecords(reader, format, table, &problem)) {
      SquareUp(table);
      TypeColumnsByValues(table);
      return true;
    }
  }
  *error = QStringLiteral("The text file %1 cannot be read: %2.").arg(tableName, problem);
  return false;
}

}  // namespace platform
