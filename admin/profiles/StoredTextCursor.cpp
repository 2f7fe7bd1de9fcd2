#include "admin/profiles/StoredTextCursor.h"

#include "admin/foundation/OdbcUtilities.h"

bool StoredTextCursor::TakeField(QString* field) {
  const qsizetype end = m_text.indexOf(u'#', m_position);
  if (end < 0) return false;
  *field = m_text.mid(m_position, end - m_position);
  m_position = end + 1;
  return true;
}

bool StoredTextCursor::TakeNumber(int* number) {
  const qsizetype start = m_position;
  QString digits;
  if (!TakeField(&digits)) return false;
  const int32_t value = ParseDigits(digits);
  if (digits.isEmpty() || value < 0) {
    m_position = start;
    return false;
  }
  *number = value;
  return true;
}

bool StoredTextCursor::TakeCounted(QString* field) {
  const qsizetype start = m_position;
  int length = 0;
  if (!TakeNumber(&length)) return false;
  if (length > m_text.size() - m_position - 1 || m_text.at(m_position + length) != u'#') {
    m_position = start;
    return false;
  }
  *field = m_text.mid(m_position, length);
  m_position += length + 1;
  return true;
}
