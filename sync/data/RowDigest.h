#pragma once

#include "sync/data/Sha2.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// A desktop row is recognised by the SHA-512 digest of its values: unchanged digest, unchanged
// row. The values are escaped and joined with "#" so that a value holding "#" cannot shift the
// column boundaries; the stored and compared form of a digest is 128 lower-case hex characters.

inline constexpr int kRowDigestSize = static_cast<int>(kSha512DigestSize);
inline constexpr int kRowDigestHexLength = 2 * kRowDigestSize;

// SHA-512 of the text's UTF-16LE code units (two bytes per unit, no terminator).
void ComputeTextDigest(const QString& text, uint8_t digest[kSha512DigestSize]);

// ComputeTextDigest as hex text.
QString TextDigestHex(const QString& text);

// Two lower-case hex digits per byte, in byte order.
QString DigestToHex(const uint8_t digest[kSha512DigestSize]);

// Every "#" becomes "\#" and every "\" becomes "\\".
void EscapeHashAndBackslash(QString* text);

// The text whose digest names a row: each value escaped, "#" between them.
QString MakeRowText(const QStringList& values);
// Appends one value of such a text, escaped.
void AppendRowTextValue(QStringView value, QString* rowText);
