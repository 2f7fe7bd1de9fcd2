#include "sync/engine/PayloadEnvelope.h"

#include "platform/os/Random.h"
#include "shared/Endian.h"
#include "shared/crypto/Cbc.h"
#include "shared/crypto/Sealing.h"
#include "sync/data/Sha2.h"

#include <algorithm>
#include <cstring>

namespace envelope {

namespace {

const uint8_t* Bytes(QByteArrayView data) { return reinterpret_cast<const uint8_t*>(data.data()); }

// The envelope of `frame` followed by `plain`, built and encrypted in one buffer: a strip is a
// megabyte, and each copy of it would cost as much as the encryption.
QByteArray Seal(const SessionMaterial& material, QByteArrayView frame, QByteArrayView plain) {
  const qsizetype length = frame.size() + plain.size();
  const qsizetype padded = length - length % 16 + 16;
  QByteArray envelope(kHeadSize + padded, Qt::Uninitialized);
  char* out = envelope.data();
  std::memcpy(out, material.salt, kSaltSize);
  endian::WriteLE<uint16_t>(endian::Bytes(envelope) + kSaltSize, material.index);
  std::memcpy(out + kSaltSize + kIndexSize, material.iv, kIvSize);
  char* body = out + kHeadSize;
  std::fill(std::copy(plain.begin(), plain.end(), std::copy(frame.begin(), frame.end(), body)), body + padded, '\0');
  uint8_t* cipher = endian::Bytes(envelope) + kHeadSize;
  CbcEncrypt(material.key, material.iv, cipher, cipher, static_cast<size_t>(padded));
  return envelope;
}

}  // namespace

QString PayloadKeyText() {
  return QStringLiteral(
      "Tarnwick Plus Lite payload key; desktop and web service share it. "
      "7Qm2-Vx9K-Lr4T-Hs8N-Wd3B-Jc6P-Fy1Z-Gk5R. Never change one side alone: envelopes");
}

void DeriveSessionKey(const char* label, uint8_t key[kKeySize], const uint8_t salt[kSaltSize],
                      uint16_t index) {
  const QByteArray keyText = PayloadKeyText().toLatin1();
  uint8_t digest[kSha256DigestSize];
  Sha256(reinterpret_cast<const uint8_t*>(label), std::strlen(label), digest);
  for (size_t i = 0; i < kSha256DigestSize; ++i) digest[i] ^= static_cast<uint8_t>(keyText[static_cast<qsizetype>(i)]);
  Sha256(digest, kSha256DigestSize, digest);
  for (size_t i = 0; i < kSha256DigestSize; ++i) digest[i] ^= salt[i];
  Sha256(digest, kSha256DigestSize, digest);
  std::memcpy(key, digest + index, kKeySize);
}

SessionMaterial CreateSessionKey() {
  SessionMaterial material;
  const QByteArray salt = platform::RandomBytes(kSaltSize);
  const QByteArray iv = platform::RandomBytes(kIvSize);
  std::memcpy(material.salt, salt.constData(), kSaltSize);
  std::memcpy(material.iv, iv.constData(), kIvSize);
  material.index = static_cast<uint16_t>(platform::RandomBelow(kMaxKeyIndex + 1));
  DeriveSessionKey(kWebServiceLabel, material.key, material.salt, material.index);
  return material;
}

QByteArray EncryptBuffer(const uint8_t key[kKeySize], const uint8_t iv[kIvSize], QByteArrayView plain) {
  QByteArray padded = AllocPaddedBuffer(plain);
  CbcEncrypt(key, iv, Bytes(padded), endian::Bytes(padded), static_cast<size_t>(padded.size()));
  return padded;
}

std::optional<QByteArray> DecryptBuffer(const uint8_t key[kKeySize], const uint8_t iv[kIvSize],
                                        QByteArrayView cipher) {
  QByteArray plain(cipher.size(), '\0');
  if (!CbcDecrypt(key, iv, Bytes(cipher), endian::Bytes(plain), static_cast<size_t>(cipher.size()))) {
    return std::nullopt;
  }
  return plain;
}

QByteArray FrameMessage(QByteArrayView message) {
  QByteArray frame;
  frame.reserve(4 + message.size());
  endian::AppendLE<uint32_t>(&frame, static_cast<uint32_t>(message.size()));
  frame.append(message.data(), message.size());
  return frame;
}

QByteArray BuildEnvelope(const SessionMaterial& material, QByteArrayView plain) { return Seal(material, {}, plain); }

QByteArray BuildFramedEnvelope(const SessionMaterial& material, QByteArrayView message) {
  uint8_t length[4];
  endian::WriteLE<uint32_t>(length, static_cast<uint32_t>(message.size()));
  return Seal(material, QByteArrayView(length, sizeof length), message);
}

std::optional<QByteArray> OpenEnvelope(QByteArrayView envelope, const char* label, OpenError* error) {
  OpenError found = OpenError::None;
  if (envelope.size() < kHeadSize + 16) {
    found = OpenError::TooShort;
  } else if (endian::ReadLE<uint16_t>(Bytes(envelope) + kSaltSize) > kMaxKeyIndex) {
    found = OpenError::BadIndex;
  } else if ((envelope.size() - kHeadSize) % 16 != 0) {
    found = OpenError::NotWholeBlocks;
  }
  if (error) *error = found;
  if (found != OpenError::None) return std::nullopt;

  const uint8_t* bytes = Bytes(envelope);
  uint8_t key[kKeySize];
  DeriveSessionKey(label, key, bytes, endian::ReadLE<uint16_t>(bytes + kSaltSize));
  return DecryptBuffer(key, bytes + kSaltSize + kIndexSize, envelope.sliced(kHeadSize));
}

}  // namespace envelope
