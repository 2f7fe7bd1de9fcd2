#include "sync/engine/StripBuilder.h"

StripBuilder::StripBuilder(QByteArray head) : m_bytes(std::move(head)), m_headSize(m_bytes.size()) {}

bool StripBuilder::IsFullFor(qsizetype entrySize) const {
  return m_bytes.size() > m_headSize && m_bytes.size() + entrySize > kStripLimit;
}

void StripBuilder::Append(const QByteArray& entry) { m_bytes += entry; }

void StripBuilder::Restart(QByteArray head) {
  m_bytes = std::move(head);
  m_headSize = m_bytes.size();
}

// END_OF_REC and END_OF_TAB alike: a length of 0.
void StripBuilder::AppendEnd() { m_bytes.append(4, '\0'); }
