#pragma once

#include <QByteArray>
#include <QString>

// Turns the bytes of a desktop text file into text, strictly: bytes that the character set
// cannot hold are an error, never a replacement character.
namespace platform {

enum class TextCharset {
  Ansi,     // Windows code page 1252
  Latin1,   // ISO 8859-1
  Utf8,     // a leading byte-order mark is skipped
  Utf16Le,  // with or without a leading byte-order mark
};

// The character set that a byte-order mark at the start of `bytes` announces; `fallback` when
// there is none.
TextCharset CharsetByByteOrderMark(const QByteArray& bytes, TextCharset fallback);

// The text of `bytes`, or false with the reason in `error`. A zero character is refused in every
// character set: no desktop text file holds one, and a file that does is not the declared set.
bool DecodeText(const QByteArray& bytes, TextCharset charset, QString* text, QString* error);

}  // namespace platform
