#pragma once

#include <array>
#include <cstdint>

// The AES block cipher (FIPS-197) in its table-driven form: state columns and round keys are
// 32-bit words loaded little-endian from the bytes. Only 128-bit keys are expanded here; the block
// functions also run schedules of 12 and 14 rounds.

inline constexpr int kAesBlockSize = 16;
inline constexpr int kAesKeySize = 16;

// Flag word of a schedule: 16 marks an expanded schedule, bit 0 one usable for encryption,
// bit 1 one usable for decryption.
inline constexpr uint32_t kAesEncryptSchedule = 16 + 1;
inline constexpr uint32_t kAesDecryptSchedule = 16 + 2;

struct AesSchedule {
  std::array<uint32_t, 64> roundKeys{};  // 4 * (rounds + 1) of them are used
  uint32_t rounds = 0;
  uint32_t flags = 0;
};

// Expand a 16-byte key; 10 rounds. Both return 1.
int AesSetEncryptKey(const uint8_t* key, AesSchedule* schedule);
// The equivalent inverse cipher's schedule: round keys in reverse order, the inner ones passed
// through InvMixColumns.
int AesSetDecryptKey(const uint8_t* key, AesSchedule* schedule);

// One 16-byte block; `in` and `out` may be the same. They return 0 and leave `out` untouched when
// the schedule is not one for their direction or its round count is not 10, 12 or 14.
int AesEncryptBlock(const AesSchedule& schedule, const uint8_t* in, uint8_t* out);
int AesDecryptBlock(const AesSchedule& schedule, const uint8_t* in, uint8_t* out);
