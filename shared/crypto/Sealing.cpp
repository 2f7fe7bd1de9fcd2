#include "shared/crypto/Sealing.h"

#include "shared/Endian.h"
#include "shared/crypto/Aes.h"
#include "shared/crypto/Cbc.h"

#include <array>

namespace {

struct SealingKey {
  std::array<uint8_t, kAesKeySize> key;
  std::array<uint8_t, kAesBlockSize> iv;
};

// The key and IV are put together byte by byte at each call; the volatile stores keep the
// compiler from folding them into one 16-byte constant in the program image.
SealingKey AssembleSealingKey() {
  SealingKey material;
  volatile uint8_t* key = material.key.data();
  key[0] = 0xC0;
  key[1] = 0xB1;
  key[2] = 0xCB;
  key[3] = 0x22;
  key[4] = 0x03;
  key[5] = 0x72;
  key[6] = 0x4F;
  key[7] = 0x93;
  key[8] = 0x4D;
  key[9] = 0xE4;
  key[10] = 0xA3;
  key[11] = 0x70;
  key[12] = 0xC0;
  key[13] = 0xF8;
  key[14] = 0x4C;
  key[15] = 0xF1;
  volatile uint8_t* iv = material.iv.data();
  iv[0] = 0xB6;
  iv[1] = 0xD5;
  iv[2] = 0xBA;
  iv[3] = 0xBA;
  iv[4] = 0xE0;
  iv[5] = 0x40;
  iv[6] = 0x5E;
  iv[7] = 0xCA;
  iv[8] = 0xFE;
  iv[9] = 0x44;
  iv[10] = 0x49;
  iv[11] = 0xA6;
  iv[12] = 0x79;
  iv[13] = 0x72;
  iv[14] = 0xF7;
  iv[15] = 0xBC;
  return material;
}

}  // namespace

QByteArray AllocPaddedBuffer(QByteArrayView data) {
  const qsizetype length = data.size() - data.size() % kAesBlockSize + kAesBlockSize;
  QByteArray padded(length, '\0');
  std::copy(data.begin(), data.end(), padded.begin());
  return padded;
}

QByteArray EncryptSetting(QByteArrayView plain) {
  QByteArray sealed = AllocPaddedBuffer(plain);
  const SealingKey material = AssembleSealingKey();
  CbcEncrypt(material.key.data(), material.iv.data(), endian::Bytes(sealed),
             endian::Bytes(sealed), static_cast<size_t>(sealed.size()));
  return sealed;
}

std::optional<QByteArray> DecryptSetting(QByteArrayView sealed) {
  QByteArray plain(sealed.size(), '\0');
  const SealingKey material = AssembleSealingKey();
  if (!CbcDecrypt(material.key.data(), material.iv.data(),
                  reinterpret_cast<const uint8_t*>(sealed.data()), endian::Bytes(plain),
                  static_cast<size_t>(sealed.size()))) {
    return std::nullopt;
  }
  return plain;
}
