#include "sync/data/RowDigest.h"

#include <algorithm>
#include <bit>

void ComputeTextDigest(const QString& text, uint8_t digest[kSha512DigestSize]) {
  // The UTF-16LE bytes go to the hash a block at a time, with no copy of the whole text.
  constexpr size_t kUnitsPerBlock = 256;
  uint8_t block[2 * kUnitsPerBlock];
  Sha512Context context;
  Sha512Init(&context);
  const ushort* units = text.utf16();
  const auto length = static_cast<size_t>(text.size());
  if constexpr (std::endian::native == std::endian::little) {
    // The units lie in memory as the bytes the digest takes.
    Sha512Update(&context, reinterpret_cast<const uint8_t*>(units), 2 * length);
    Sha512Final(&context, digest);
    return;
  }
  for (size_t start = 0; start < length; start += kUnitsPerBlock) {
    const size_t count = std::min(kUnitsPerBlock, length - start);
    for (size_t i = 0; i < count; ++i) {
      block[2 * i] = static_cast<uint8_t>(units[start + i] & 0xFF);
      block[2 * i + 1] = static_cast<uint8_t>(units[start + i] >> 8);
    }
    Sha512Update(&context, block, 2 * count);
  }
  Sha512Final(&context, digest);
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
  qsizetype length = values.size();
  for (const QString& value : values) length += value.size();
  QString text;
  text.reserve(length + length / 8);
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (i > 0) text += QLatin1Char('#');
    AppendRowTextValue(values.at(i), &text);
  }
  return text;
}

void AppendRowTextValue(QStringView value, QString* rowText) {
  for (const QChar unit : value) {
    if (unit == QLatin1Char('\\') || unit == QLatin1Char('#')) *rowText += QLatin1Char('\\');
    *rowText += unit;
  }
}
