#include "shared/crypto/Cbc.h"

#include "shared/crypto/Aes.h"

#include <array>
#include <cstring>

namespace {

using Block = std::array<uint8_t, kAesBlockSize>;

bool IsWholeBlocks(size_t length) { return length % kAesBlockSize == 0; }

}  // namespace

bool CbcEncrypt(const uint8_t* key, const uint8_t* iv, const uint8_t* in, uint8_t* out,
                size_t length) {
  if (!IsWholeBlocks(length)) return false;
  AesSchedule schedule;
  AesSetEncryptKey(key, &schedule);
  Block chain;
  std::memcpy(chain.data(), iv, chain.size());
  for (size_t offset = 0; offset < length; offset += kAesBlockSize) {
    Block block;
    for (size_t i = 0; i < block.size(); ++i) block[i] = in[offset + i] ^ chain[i];
    AesEncryptBlock(schedule, block.data(), chain.data());
    std::memcpy(out + offset, chain.data(), chain.size());
  }
  return true;
}

bool CbcDecrypt(const uint8_t* key, const uint8_t* iv, const uint8_t* in, uint8_t* out,
                size_t length) {
  if (!IsWholeBlocks(length)) return false;
  AesSchedule schedule;
  AesSetDecryptKey(key, &schedule);
  Block chain;
  std::memcpy(chain.data(), iv, chain.size());
  for (size_t offset = 0; offset < length; offset += kAesBlockSize) {
    // Keep the ciphertext block before the output may overwrite it: it chains into the next.
    Block cipher;
    std::memcpy(cipher.data(), in + offset, cipher.size());
    Block plain;
    AesDecryptBlock(schedule, cipher.data(), plain.data());
    for (size_t i = 0; i < plain.size(); ++i) out[offset + i] = plain[i] ^ chain[i];
    chain = cipher;
  }
  return true;
}
