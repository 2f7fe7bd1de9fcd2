#pragma once

#include <QString>

// Walks a counted, "#"-terminated stored text. Every take fails, leaving the cursor in place,
// when the text ends early or a length or number is not one.
class StoredTextCursor {
 public:
  explicit StoredTextCursor(const QString& text) : m_text(text) {}

  // The characters up to the next "#", which is skipped.
  bool TakeField(QString* field);
  // A field of decimal digits.
  bool TakeNumber(int* number);
  // A length field, then exactly that many UTF-16 units and one "#".
  bool TakeCounted(QString* field);

 private:
  const QString m_text;
  qsizetype m_position = 0;
};
