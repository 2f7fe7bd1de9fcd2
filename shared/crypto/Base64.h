#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// Base64 with the standard alphabet of RFC 4648, "=" padding and no line breaks.

// 4 * ceil(n / 3): the exact length of the text for n bytes.
qsizetype Base64EncodedLength(qsizetype n);

// (length / 4) * 3, less 2 when the text ends in "==", less 1 when it ends in one "="; never below
// 0. Exact for a text without line breaks, an upper bound for one with them.
qsizetype Base64DecodedLength(QByteArrayView text);

// Four characters for `count` (1 to 3) bytes, "=" standing in for the missing ones; any other
// count writes nothing.
void Base64EncodeGroup(const uint8_t* in, int count, char* out);

// The bytes of one group of four characters: 1 when it ends in "==", 2 when it ends in one "=",
// otherwise 3. 0 (nothing written) for a group that is not Base64: a character outside the
// alphabet, or "=" anywhere but in the last two places.
int Base64DecodeGroup(const char* in, uint8_t* out);

QByteArray Base64Encode(QByteArrayView data);

// Decodes the text group by group, passing over every character outside the alphabet (line
// breaks, blanks). It stops at the first group that is not Base64; trailing characters that do
// not fill a group are ignored.
QByteArray Base64Decode(QByteArrayView text);

// The same coder as an object without state, for the callers that use one.
class CBase64 {
 public:
  qsizetype Base64EncodedLength(qsizetype n) const { return ::Base64EncodedLength(n); }
  qsizetype Base64DecodedLength(QByteArrayView text) const { return ::Base64DecodedLength(text); }
  void Base64EncodeGroup(const uint8_t* in, int count, char* out) const {
    ::Base64EncodeGroup(in, count, out);
  }
  int Base64DecodeGroup(const char* in, uint8_t* out) const { return ::Base64DecodeGroup(in, out); }
  QByteArray Base64Encode(QByteArrayView data) const { return ::Base64Encode(data); }
  QByteArray Base64Decode(QByteArrayView text) const { return ::Base64Decode(text); }
};
