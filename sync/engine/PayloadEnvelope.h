#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

// The envelope around every payload that crosses the web service: a fresh 32-byte salt, a key
// index from 0 to 14 (uint16 little-endian) and a 16-byte IV, then the AES-128-CBC ciphertext
// under a key derived from a direction label, the built-in payload key text, the salt and the
// index. The desktop's own envelopes carry a 32-bit little-endian length before the message;
// the envelopes made for the desktop carry the plain stream. Nothing is authenticated: a wrong
// key opens to meaningless bytes.
namespace envelope {

inline constexpr int kSaltSize = 32;
inline constexpr int kIvSize = 16;
inline constexpr int kKeySize = 16;
inline constexpr int kIndexSize = 2;
inline constexpr int kHeadSize = kSaltSize + kIndexSize + kIvSize;  // 50
inline constexpr uint16_t kMaxKeyIndex = 14;

// Direction labels: the envelopes the desktop makes, and the ones made for it.
inline constexpr char kWebServiceLabel[] = "WEBSERVICE";
inline constexpr char kDesktopLabel[] = "DESKTOP";

// The 145-character text both ends derive payload keys from (only its first 32 bytes count).
QString PayloadKeyText();

struct SessionMaterial {
  uint8_t key[kKeySize] = {};
  uint8_t iv[kIvSize] = {};
  uint8_t salt[kSaltSize] = {};
  uint16_t index = 0;
};

// The session key: 16 bytes from offset `index` of
// SHA-256(SHA-256(SHA-256(label) XOR key text[0..31]) XOR salt).
void DeriveSessionKey(const char* label, uint8_t key[kKeySize], const uint8_t salt[kSaltSize],
                      uint16_t index);

// Fresh salt, IV and index from the system's generator, the key derived with "WEBSERVICE".
SessionMaterial CreateSessionKey();

// The plain bytes zero-padded to the next multiple of 16 strictly above their length, then
// encrypted.
QByteArray EncryptBuffer(const uint8_t key[kKeySize], const uint8_t iv[kIvSize], QByteArrayView plain);

// The whole ciphertext decrypted, padding included; nothing when its length is not a multiple
// of 16.
std::optional<QByteArray> DecryptBuffer(const uint8_t key[kKeySize], const uint8_t iv[kIvSize],
                                        QByteArrayView cipher);

// int32 little-endian n followed by the n message bytes.
QByteArray FrameMessage(QByteArrayView message);

// Salt, index, IV and the ciphertext of `plain` under the material.
QByteArray BuildEnvelope(const SessionMaterial& material, QByteArrayView plain);
// BuildEnvelope of FrameMessage(message), without the framed copy.
QByteArray BuildFramedEnvelope(const SessionMaterial& material, QByteArrayView message);

// Why an incoming envelope was refused.
enum class OpenError { None, TooShort, BadIndex, NotWholeBlocks };

// Opens an envelope under `label`: the decrypted bytes, padding included, only when it holds the
// 50-byte head, an index from 0 to 14 and a ciphertext of one or more whole 16-byte blocks (every
// sender pads by at least one byte).
std::optional<QByteArray> OpenEnvelope(QByteArrayView envelope, const char* label,
                                       OpenError* error = nullptr);

}  // namespace envelope
