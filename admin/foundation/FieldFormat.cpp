#include "admin/foundation/FieldFormat.h"

#include <algorithm>

namespace {

int HexNibble(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

}  // namespace

QString DecodeHexText(const QByteArray& text, qsizetype length) {
  QString decoded;
  const qsizetype usable = std::min(length, text.size());
  for (qsizetype i = 0; i + 1 < usable; i += 2) {
    int value = 0;
    for (qsizetype j = i; j < i + 2; ++j) {
      const int nibble = HexNibble(text.at(j));
      if (nibble < 0) break;
      value = value * 16 + nibble;
    }
    decoded += QChar(static_cast<char16_t>(value));
  }
  return decoded;
}
