#include "shared/FixedText.h"

#include <cstring>

namespace fixedtext {

QByteArray CutUtf8(const QByteArray& text, int maxBytes) {
  if (text.size() <= maxBytes) return text;
  int end = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the cut character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.left(end);
}

void Write(char* field, int width, const QByteArray& text) {
  if (width <= 0) return;
  // A text ends at its own zero, if it has one.
  const qsizetype zero = text.indexOf('\0');
  const QByteArray kept = CutUtf8(zero < 0 ? text : text.left(zero), width - 1);
  std::memset(field, 0, static_cast<size_t>(width));
  std::memcpy(field, kept.constData(), static_cast<size_t>(kept.size()));
}

QByteArray Read(const char* field, int width) {
  const void* zero = std::memchr(field, 0, static_cast<size_t>(width));
  const int length = zero ? static_cast<int>(static_cast<const char*>(zero) - field) : width;
  return QByteArray(field, length);
}

}  // namespace fixedtext
