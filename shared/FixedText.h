#pragma once

#include <QByteArray>
#include <QString>

// 8-bit texts inside fixed-width fields of stored records. The texts are UTF-8; a text too long
// for its field is cut at a character boundary and always keeps a terminating zero.
namespace fixedtext {

// Writes `text` into the `width` bytes at `field`: the text (cut to at most width - 1 bytes at a
// character boundary) followed by zero bytes to the end of the field.
void Write(char* field, int width, const QByteArray& text);

// The text of a field: its bytes up to the first zero, never past `width`.
QByteArray Read(const char* field, int width);

// UTF-8 bytes of `text` cut to at most `maxBytes` at a character boundary.
QByteArray CutUtf8(const QByteArray& text, int maxBytes);

}  // namespace fixedtext
