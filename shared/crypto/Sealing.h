#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Sealing of the registry records: the plain bytes, zero-padded to the next multiple of 16
// strictly above their length, AES-128-CBC encrypted under the one built-in key and IV that
// every program of the system shares. There is no length field and no integrity check: a reader
// knows its record's size, and a wrong key unseals to garbage.

// The data followed by 1 to 16 zero bytes: n bytes give n - (n mod 16) + 16.
QByteArray AllocPaddedBuffer(QByteArrayView data);

// The sealed form of `plain` (a multiple of 16, at least 16 bytes).
QByteArray EncryptSetting(QByteArrayView plain);

// The plain bytes of a sealed value, padding included; nothing when its length is not a multiple
// of 16 (a value that was never sealed whole).
std::optional<QByteArray> DecryptSetting(QByteArrayView sealed);
