#pragma once

#include <cstddef>
#include <cstdint>

// SHA-256 and SHA-512 (FIPS 180-2), our own code: row digests and the payload key derivation
// depend on nothing outside the program. Update hashes whole blocks straight from the caller's
// buffer and copies only partial blocks, since every row of every profile is digested on every
// change-detection pass.

inline constexpr size_t kSha256BlockSize = 64;
inline constexpr size_t kSha256DigestSize = 32;
inline constexpr size_t kSha512BlockSize = 128;
inline constexpr size_t kSha512DigestSize = 64;

struct Sha256Context {
  uint64_t total = 0;                     // bytes already compressed
  uint32_t waiting = 0;                   // bytes waiting in `block`
  uint8_t block[2 * kSha256BlockSize] = {};  // room for a padding that spills into a second block
  uint32_t state[8] = {};
};

struct Sha512Context {
  uint64_t total = 0;
  uint32_t waiting = 0;
  uint8_t block[2 * kSha512BlockSize] = {};
  uint64_t state[8] = {};
};

void Sha256Init(Sha256Context* context);
void Sha256Update(Sha256Context* context, const uint8_t* data, size_t length);
void Sha256Final(Sha256Context* context, uint8_t digest[kSha256DigestSize]);
void Sha256(const uint8_t* data, size_t length, uint8_t digest[kSha256DigestSize]);

void Sha512Init(Sha512Context* context);
void Sha512Update(Sha512Context* context, const uint8_t* data, size_t length);
void Sha512Final(Sha512Context* context, uint8_t digest[kSha512DigestSize]);
void Sha512(const uint8_t* data, size_t length, uint8_t digest[kSha512DigestSize]);
