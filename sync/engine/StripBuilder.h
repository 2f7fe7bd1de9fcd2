#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Entries packed behind a head into strips of at most kStripLimit bytes, each strip one exchange
// with the web service. A strip goes out before an entry that would take it past the limit; an
// entry larger than the limit goes alone into a strip of its own, so no strip goes out that
// holds its head only.
class StripBuilder {
 public:
  static constexpr qsizetype kStripLimit = 1024 * 1024;

  explicit StripBuilder(QByteArray head);

  // Whether the strip must go out before an entry of `entrySize` bytes is appended.
  bool IsFullFor(qsizetype entrySize) const;
  void Append(QByteArrayView entry);
  // The next strip of the same sequence, behind `head`.
  void Restart(QByteArrayView head);
  void AppendEnd();

  const QByteArray& Bytes() const { return m_bytes; }

 private:
  QByteArray m_bytes;
  qsizetype m_headSize;
};
