#include "shared/crypto/Aes.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

namespace {

std::vector<uint8_t> Hex(const char* hex) {
  const QByteArray bytes = QByteArray::fromHex(hex);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Just enough of FIPS-197, written out independently, to build schedules for 192- and 256-bit
// keys: the block functions run 12 and 14 rounds, which the 128-bit expansion never produces.
uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  for (; b != 0; b = static_cast<uint8_t>(b >> 1)) {
    if (b & 1) product ^= a;
    a = static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0));
  }
  return product;
}

uint8_t SubByte(uint8_t x) {
  uint8_t inverse = 0;
  for (int b = 1; b < 256 && x != 0; ++b) {
    if (Multiply(x, static_cast<uint8_t>(b)) == 1) inverse = static_cast<uint8_t>(b);
  }
  uint8_t s = 0x63;
  for (int i = 0; i < 5; ++i) s ^= static_cast<uint8_t>((inverse << i) | (inverse >> (8 - i)));
  return s;
}

uint32_t SubWord(uint32_t w) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) out |= uint32_t{SubByte(static_cast<uint8_t>(w >> (8 * i)))} << (8 * i);
  return out;
}

uint32_t InvMixColumn(uint32_t w) {
  uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(w >> (8 * i));
  const uint8_t m[4] = {14, 11, 13, 9};
  uint32_t out = 0;
  for (int row = 0; row < 4; ++row) {
    uint8_t v = 0;
    for (int col = 0; col < 4; ++col) v ^= Multiply(b[col], m[(col - row + 4) % 4]);
    out |= uint32_t{v} << (8 * row);
  }
  return out;
}

AesSchedule LongKeySchedule(const std::vector<uint8_t>& key, bool forDecryption) {
  const int nk = static_cast<int>(key.size() / 4);
  const int rounds = nk + 6;
  std::vector<uint32_t> w(static_cast<size_t>(4 * (rounds + 1)));
  uint8_t rcon = 1;
  for (int i = 0; i < 4 * (rounds + 1); ++i) {
    if (i < nk) {
      for (int j = 0; j < 4; ++j) w[i] |= uint32_t{key[static_cast<size_t>(4 * i + j)]} << (8 * j);
      continue;
    }
    uint32_t temp = w[static_cast<size_t>(i - 1)];
    if (i % nk == 0) {
      temp = SubWord((temp >> 8) | (temp << 24)) ^ rcon;
      rcon = Multiply(rcon, 2);
    } else if (nk > 6 && i % nk == 4) {
      temp = SubWord(temp);
    }
    w[static_cast<size_t>(i)] = w[static_cast<size_t>(i - nk)] ^ temp;
  }
  AesSchedule schedule;
  schedule.rounds = static_cast<uint32_t>(rounds);
  schedule.flags = forDecryption ? kAesDecryptSchedule : kAesEncryptSchedule;
  for (int round = 0; round <= rounds; ++round) {
    const int from = forDecryption ? rounds - round : round;
    const bool inner = forDecryption && round != 0 && round != rounds;
    for (int j = 0; j < 4; ++j) {
      const uint32_t word = w[static_cast<size_t>(4 * from + j)];
      schedule.roundKeys[static_cast<size_t>(4 * round + j)] = inner ? InvMixColumn(word) : word;
    }
  }
  return schedule;
}

}  // namespace

// FIPS-197 appendix B and appendix C.1.
TEST(Aes, MatchesTheStandardsExamples) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  };
  const Case cases[] = {
      {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734",
       "3925841d02dc09fbdc118597196a0b32"},
      {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
       "69c4e0d86a7b0430d8cdb78070b4c55a"},
  };
  for (const Case& c : cases) {
    const auto key = Hex(c.key);
    AesSchedule encrypt;
    AesSchedule decrypt;
    EXPECT_EQ(AesSetEncryptKey(key.data(), &encrypt), 1);
    EXPECT_EQ(AesSetDecryptKey(key.data(), &decrypt), 1);
    EXPECT_EQ(encrypt.rounds, 10u);
    EXPECT_EQ(encrypt.flags, 17u);
    EXPECT_EQ(decrypt.rounds, 10u);
    EXPECT_EQ(decrypt.flags, 18u);

    std::vector<uint8_t> block = Hex(c.plain);
    ASSERT_EQ(AesEncryptBlock(encrypt, block.data(), block.data()), 1);  // in place
    EXPECT_EQ(block, Hex(c.cipher));
    ASSERT_EQ(AesDecryptBlock(decrypt, block.data(), block.data()), 1);
    EXPECT_EQ(block, Hex(c.plain));
  }
}

// FIPS-197 appendix C.2 and C.3.
TEST(Aes, RunsTwelveAndFourteenRoundSchedules) {
  struct Case {
    const char* key;
    const char* cipher;
  };
  const Case cases[] = {
      {"000102030405060708090a0b0c0d0e0f1011121314151617", "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "8ea2b7ca516745bfeafc49904b496089"},
  };
  const auto plain = Hex("00112233445566778899aabbccddeeff");
  for (const Case& c : cases) {
    std::vector<uint8_t> out(16);
    ASSERT_EQ(AesEncryptBlock(LongKeySchedule(Hex(c.key), false), plain.data(), out.data()), 1);
    EXPECT_EQ(out, Hex(c.cipher));
    ASSERT_EQ(AesDecryptBlock(LongKeySchedule(Hex(c.key), true), out.data(), out.data()), 1);
    EXPECT_EQ(out, plain);
  }
}

TEST(Aes, RefusesAScheduleOfTheOtherDirectionOrAnUnknownRoundCount) {
  const auto key = Hex("000102030405060708090a0b0c0d0e0f");
  AesSchedule encrypt;
  AesSchedule decrypt;
  AesSetEncryptKey(key.data(), &encrypt);
  AesSetDecryptKey(key.data(), &decrypt);
  AesSchedule elevenRounds = encrypt;
  elevenRounds.rounds = 11;
  AesSchedule unset;

  const auto in = Hex("00112233445566778899aabbccddeeff");
  const std::vector<uint8_t> untouched(16, 0xA5);
  std::vector<uint8_t> out = untouched;
  EXPECT_EQ(AesEncryptBlock(decrypt, in.data(), out.data()), 0);
  EXPECT_EQ(AesDecryptBlock(encrypt, in.data(), out.data()), 0);
  EXPECT_EQ(AesEncryptBlock(elevenRounds, in.data(), out.data()), 0);
  EXPECT_EQ(AesEncryptBlock(unset, in.data(), out.data()), 0);
  EXPECT_EQ(out, untouched);
}
