#include "shared/crypto/Aes.h"

#include "shared/Endian.h"

namespace {

using ByteTable = std::array<uint8_t, 256>;
using WordTable = std::array<uint32_t, 256>;
using RoundTables = std::array<WordTable, 4>;

// S-box of FIPS-197, figure 7.
constexpr ByteTable kSbox = {
    0x63, 0x7C, 0x77, 0x7B, 0xF2, 0x6B, 0x6F, 0xC5, 0x30, 0x01, 0x67, 0x2B, 0xFE, 0xD7, 0xAB, 0x76,
    0xCA, 0x82, 0xC9, 0x7D, 0xFA, 0x59, 0x47, 0xF0, 0xAD, 0xD4, 0xA2, 0xAF, 0x9C, 0xA4, 0x72, 0xC0,
    0xB7, 0xFD, 0x93, 0x26, 0x36, 0x3F, 0xF7, 0xCC, 0x34, 0xA5, 0xE5, 0xF1, 0x71, 0xD8, 0x31, 0x15,
    0x04, 0xC7, 0x23, 0xC3, 0x18, 0x96, 0x05, 0x9A, 0x07, 0x12, 0x80, 0xE2, 0xEB, 0x27, 0xB2, 0x75,
    0x09, 0x83, 0x2C, 0x1A, 0x1B, 0x6E, 0x5A, 0xA0, 0x52, 0x3B, 0xD6, 0xB3, 0x29, 0xE3, 0x2F, 0x84,
    0x53, 0xD1, 0x00, 0xED, 0x20, 0xFC, 0xB1, 0x5B, 0x6A, 0xCB, 0xBE, 0x39, 0x4A, 0x4C, 0x58, 0xCF,
    0xD0, 0xEF, 0xAA, 0xFB, 0x43, 0x4D, 0x33, 0x85, 0x45, 0xF9, 0x02, 0x7F, 0x50, 0x3C, 0x9F, 0xA8,
    0x51, 0xA3, 0x40, 0x8F, 0x92, 0x9D, 0x38, 0xF5, 0xBC, 0xB6, 0xDA, 0x21, 0x10, 0xFF, 0xF3, 0xD2,
    0xCD, 0x0C, 0x13, 0xEC, 0x5F, 0x97, 0x44, 0x17, 0xC4, 0xA7, 0x7E, 0x3D, 0x64, 0x5D, 0x19, 0x73,
    0x60, 0x81, 0x4F, 0xDC, 0x22, 0x2A, 0x90, 0x88, 0x46, 0xEE, 0xB8, 0x14, 0xDE, 0x5E, 0x0B, 0xDB,
    0xE0, 0x32, 0x3A, 0x0A, 0x49, 0x06, 0x24, 0x5C, 0xC2, 0xD3, 0xAC, 0x62, 0x91, 0x95, 0xE4, 0x79,
    0xE7, 0xC8, 0x37, 0x6D, 0x8D, 0xD5, 0x4E, 0xA9, 0x6C, 0x56, 0xF4, 0xEA, 0x65, 0x7A, 0xAE, 0x08,
    0xBA, 0x78, 0x25, 0x2E, 0x1C, 0xA6, 0xB4, 0xC6, 0xE8, 0xDD, 0x74, 0x1F, 0x4B, 0xBD, 0x8B, 0x8A,
    0x70, 0x3E, 0xB5, 0x66, 0x48, 0x03, 0xF6, 0x0E, 0x61, 0x35, 0x57, 0xB9, 0x86, 0xC1, 0x1D, 0x9E,
    0xE1, 0xF8, 0x98, 0x11, 0x69, 0xD9, 0x8E, 0x94, 0x9B, 0x1E, 0x87, 0xE9, 0xCE, 0x55, 0x28, 0xDF,
    0x8C, 0xA1, 0x89, 0x0D, 0xBF, 0xE6, 0x42, 0x68, 0x41, 0x99, 0x2D, 0x0F, 0xB0, 0x54, 0xBB, 0x16,
};

constexpr std::array<uint32_t, 10> kRoundConstants = {0x01, 0x02, 0x04, 0x08, 0x10,
                                                      0x20, 0x40, 0x80, 0x1B, 0x36};

constexpr ByteTable Invert(const ByteTable& box) {
  ByteTable inverse{};
  for (int i = 0; i < 256; ++i) inverse[box[static_cast<size_t>(i)]] = static_cast<uint8_t>(i);
  return inverse;
}

constexpr ByteTable kInverseSbox = Invert(kSbox);

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint32_t Multiply(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (; b != 0; b >>= 1) {
    if (b & 1) product ^= a;
    a = (a & 0x80) ? ((a << 1) ^ 0x11B) : (a << 1);
  }
  return product;
}

constexpr uint32_t RotateLeft8(uint32_t word) { return (word << 8) | (word >> 24); }

// Table 0 holds one byte's share of a whole round column (substitution and the MixColumns
// column of coefficients c0..c3, row 0 in the low byte); tables 1 to 3 are its byte rotations.
constexpr RoundTables MakeRoundTables(const ByteTable& box, uint32_t c0, uint32_t c1, uint32_t c2,
                                      uint32_t c3) {
  RoundTables tables{};
  for (size_t i = 0; i < 256; ++i) {
    const uint32_t s = box[i];
    const uint32_t word = Multiply(s, c0) | (Multiply(s, c1) << 8) | (Multiply(s, c2) << 16) |
                          (Multiply(s, c3) << 24);
    tables[0][i] = word;
    tables[1][i] = RotateLeft8(word);
    tables[2][i] = RotateLeft8(RotateLeft8(word));
    tables[3][i] = RotateLeft8(RotateLeft8(RotateLeft8(word)));
  }
  return tables;
}

constexpr RoundTables kForward = MakeRoundTables(kSbox, 2, 1, 1, 3);
constexpr RoundTables kInverse = MakeRoundTables(kInverseSbox, 14, 9, 13, 11);

constexpr uint32_t Byte0(uint32_t w) { return w & 0xFF; }
constexpr uint32_t Byte1(uint32_t w) { return (w >> 8) & 0xFF; }
constexpr uint32_t Byte2(uint32_t w) { return (w >> 16) & 0xFF; }
constexpr uint32_t Byte3(uint32_t w) { return w >> 24; }

bool HasUsableRounds(const AesSchedule& schedule) {
  return schedule.rounds == 10 || schedule.rounds == 12 || schedule.rounds == 14;
}

using State = std::array<uint32_t, 4>;

// Column c of a round takes its row r from column c + r * Step of the state: ShiftRows moves the
// rows left (Step 1), InvShiftRows right (Step 3).
template <size_t Step>
constexpr size_t From(size_t column, size_t row) {
  return (column + row * Step) % 4;
}

// One column after SubBytes, ShiftRows and MixColumns (or their inverses) and AddRoundKey.
template <size_t Step>
uint32_t RoundColumn(const RoundTables& t, uint32_t key, const State& x, size_t c) {
  return key ^ t[0][Byte0(x[From<Step>(c, 0)])] ^ t[1][Byte1(x[From<Step>(c, 1)])] ^
         t[2][Byte2(x[From<Step>(c, 2)])] ^ t[3][Byte3(x[From<Step>(c, 3)])];
}

// The last round has no MixColumns: substitution alone.
template <size_t Step>
uint32_t LastRoundColumn(const ByteTable& box, uint32_t key, const State& x, size_t c) {
  return key ^ uint32_t{box[Byte0(x[From<Step>(c, 0)])]} ^
         (uint32_t{box[Byte1(x[From<Step>(c, 1)])]} << 8) ^
         (uint32_t{box[Byte2(x[From<Step>(c, 2)])]} << 16) ^
         (uint32_t{box[Byte3(x[From<Step>(c, 3)])]} << 24);
}

// InvMixColumns of one round-key word; the inverse tables carry the inverse S-box, which the
// forward S-box cancels.
uint32_t InverseMixWord(uint32_t w) {
  return kInverse[0][kSbox[Byte0(w)]] ^ kInverse[1][kSbox[Byte1(w)]] ^
         kInverse[2][kSbox[Byte2(w)]] ^ kInverse[3][kSbox[Byte3(w)]];
}

void ExpandKey(const uint8_t* key, AesSchedule* schedule) {
  uint32_t* w = schedule->roundKeys.data();
  for (int i = 0; i < 4; ++i) w[i] = endian::ReadLE<uint32_t>(key + 4 * i);
  for (uint32_t constant : kRoundConstants) {
    const uint32_t last = w[3];
    // SubWord(RotWord(last)) with the bytes in little-endian order.
    w[4] = w[0] ^ constant ^ uint32_t{kSbox[Byte1(last)]} ^ (uint32_t{kSbox[Byte2(last)]} << 8) ^
           (uint32_t{kSbox[Byte3(last)]} << 16) ^ (uint32_t{kSbox[Byte0(last)]} << 24);
    w[5] = w[1] ^ w[4];
    w[6] = w[2] ^ w[5];
    w[7] = w[3] ^ w[6];
    w += 4;
  }
  schedule->rounds = 10;
}

constexpr uint32_t kEncryptBit = 1;
constexpr uint32_t kDecryptBit = 2;

template <size_t Step>
int RunBlock(const AesSchedule& schedule, uint32_t directionBit, const RoundTables& tables,
             const ByteTable& box, const uint8_t* in, uint8_t* out) {
  if ((schedule.flags & directionBit) == 0 || !HasUsableRounds(schedule)) return 0;
  const uint32_t* key = schedule.roundKeys.data();
  State x;
  for (size_t c = 0; c < 4; ++c) x[c] = endian::ReadLE<uint32_t>(in + 4 * c) ^ key[c];
  for (uint32_t round = 1; round < schedule.rounds; ++round) {
    key += 4;
    State y;
    for (size_t c = 0; c < 4; ++c) y[c] = RoundColumn<Step>(tables, key[c], x, c);
    x = y;
  }
  key += 4;
  for (size_t c = 0; c < 4; ++c) {
    endian::WriteLE<uint32_t>(out + 4 * c, LastRoundColumn<Step>(box, key[c], x, c));
  }
  return 1;
}

}  // namespace

int AesSetEncryptKey(const uint8_t* key, AesSchedule* schedule) {
  ExpandKey(key, schedule);
  schedule->flags = kAesEncryptSchedule;
  return 1;
}

int AesSetDecryptKey(const uint8_t* key, AesSchedule* schedule) {
  AesSchedule forward;
  ExpandKey(key, &forward);
  const uint32_t rounds = forward.rounds;
  const uint32_t* source = forward.roundKeys.data();
  uint32_t* target = schedule->roundKeys.data();
  for (uint32_t round = 0; round <= rounds; ++round) {
    const uint32_t* words = source + 4 * (rounds - round);
    const bool outer = round == 0 || round == rounds;
    for (int j = 0; j < 4; ++j) target[4 * round + j] = outer ? words[j] : InverseMixWord(words[j]);
  }
  schedule->rounds = rounds;
  schedule->flags = kAesDecryptSchedule;
  return 1;
}

int AesEncryptBlock(const AesSchedule& schedule, const uint8_t* in, uint8_t* out) {
  return RunBlock<1>(schedule, kEncryptBit, kForward, kSbox, in, out);
}

int AesDecryptBlock(const AesSchedule& schedule, const uint8_t* in, uint8_t* out) {
  return RunBlock<3>(schedule, kDecryptBit, kInverse, kInverseSbox, in, out);
}
