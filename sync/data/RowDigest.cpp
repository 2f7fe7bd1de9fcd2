#include "sync/data/RowDigest.h"

#include <vector>

void ComputeTextDigest(const QString& text, uint8_t digest[kSha512DigestSize]) {
  const auto length = static_cast<size_t>(text.size());
  std::vector<uint8_t> bytes(2 * length);
  const ushort* units = text.utf16();
  for (size_t i = 0; i < length; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
  }
  Sha512(bytes.data(), bytes.size(), digest);
}

QString TextDigestHex(const QString& text) {
  uint8_t digest[kSha512DigestSize];
  ComputeTextDigest(text, digest);
  return DigestToHex(digest);
}

QString DigestToHex(const uint8_t digest[kSha512DigestSize]) {
  static constexpr char kDigits[] = "0123456789abcdef";
  QString hex(kRowDigestHexLength, Qt::Uninitialized);
  for (int i = 0; i < kRowDigestSize; ++i) {
    hex[2 * i] = QLatin1Char(kDigits[digest[i] >> 4]);
    hex[2 * i + 1] = QLatin1Char(kDigits[digest[i] & 0x0F]);
  }
  return hex;
}

void EscapeHashAndBackslash(QString* text) {
  // Backslashes first, so that the ones added for "#" are not doubled again.
  text->replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text->replace(QLatin1Char('#'), QStringLiteral("\\#"));
}

QString MakeRowText(const QStringList& values) {
  QStringList escaped;
  escaped.reserve(values.size());
  for (QString value : values) {
    EscapeHashAndBackslash(&value);
    escaped.append(value);
  }
  return escaped.join(QLatin1Char('#'));
}
