#include "platform/text/Utf16Text.h"

namespace platform {

QByteArray Utf16LeBytes(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

}  // namespace platform
