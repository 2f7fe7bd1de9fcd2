#include "sync/engine/StripBuilder.h"

StripBuilder::StripBuilder(QByteArray head) : m_bytes(std::move(head)), m_headSize(m_bytes.size()) {}

bool StripBuilder::IsFullFor(qsizetype entrySize) const {
  return m_bytes.size() > m_headSize && m_bytes.size() + entrySize > kStripLimit;
}

void StripBuilder::Append(QByteArrayView entry) { m_bytes.append(entry); }

// The strip's buffer is kept: the next strip fills the same megabyte.
void StripBuilder::Restart(QByteArrayView head) {
  m_bytes.resize(0);
  m_bytes.append(head);
  m_headSize = m_bytes.size();
}

// END_OF_REC and END_OF_TAB alike: a length of 0.
void StripBuilder::AppendEnd() { m_bytes.append(4, '\0'); }
