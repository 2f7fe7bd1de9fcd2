#include "platform/text/TextDecoding.h"

#include <QStringDecoder>

#include <array>

namespace platform {
namespace {

// Code page 1252 at 0x80..0x9F; the five bytes it leaves undefined keep their C1 code point, as
// Windows converts them.
constexpr std::array<char16_t, 32> kAnsiHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool StartsWith(const QByteArray& bytes, const char* mark) { return bytes.startsWith(QByteArray(mark)); }

QString DecodeAnsi(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kAnsiHighControls[byte - 0x80] : char16_t{byte});
  }
  return text;
}

bool DecodeUtf8(const QByteArray& bytes, QString* text, QString* error) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  *text = decoder.decode(bytes);
  if (!decoder.hasError()) return true;
  *error = QStringLiteral("it holds bytes that are not valid UTF-8");
  return false;
}

// Qt's UTF-16 decoder lets a lone surrogate through; a file holding one is damaged.
qsizetype FirstLoneSurrogate(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (text[i].isSurrogate()) {
      return i;
    }
  }
  return -1;
}

bool DecodeUtf16Le(const QByteArray& bytes, QString* text, QString* error) {
  if (bytes.size() % 2 != 0) {
    *error = QStringLiteral("it is declared UTF-16 but holds an odd number of bytes");
    return false;
  }
  const QByteArray body = StartsWith(bytes, "\xFF\xFE") ? bytes.mid(2) : bytes;
  *text = QString(body.size() / 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < text->size(); ++i) {
    (*text)[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(body[2 * i]) |
                                             static_cast<unsigned char>(body[2 * i + 1]) << 8));
  }
  const qsizetype lone = FirstLoneSurrogate(*text);
  if (lone < 0) return true;
  *error = QStringLiteral("it holds a broken UTF-16 character at byte %1").arg(2 * lone);
  return false;
}

}  // namespace

TextCharset CharsetByByteOrderMark(const QByteArray& bytes, TextCharset fallback) {
  if (StartsWith(bytes, "\xFF\xFE")) return TextCharset::Utf16Le;
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return TextCharset::Utf8;
  return fallback;
}

bool DecodeText(const QByteArray& bytes, TextCharset charset, QString* text, QString* error) {
  bool decoded = true;
  switch (charset) {
    case TextCharset::Ansi: *text = DecodeAnsi(bytes); break;
    case TextCharset::Latin1: *text = QString::fromLatin1(bytes); break;
    case TextCharset::Utf8: decoded = DecodeUtf8(bytes, text, error); break;
    case TextCharset::Utf16Le: decoded = DecodeUtf16Le(bytes, text, error); break;
  }
  if (!decoded) return false;
  const qsizetype zero = text->indexOf(QChar(0));
  if (zero < 0) return true;
  *error = QStringLiteral("it holds a zero character (character %1), which the declared character set does not "
                          "give a text file")
               .arg(zero + 1);
  return false;
}

}  // namespace platform
