#include "sync/data/Sha2.h"

#include "shared/Endian.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace {

constexpr uint32_t kSha256Initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr uint32_t kSha256Rounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint64_t kSha512Initial[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                                        0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                                        0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};

constexpr uint64_t kSha512Rounds[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc,
    0x3956c25bf348b538, 0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118,
    0xd807aa98a3030242, 0x12835b0145706fbe, 0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2,
    0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235, 0xc19bf174cf692694,
    0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5,
    0x983e5152ee66dfab, 0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4,
    0xc6e00bf33da88fc2, 0xd5a79147930aa725, 0x06ca6351e003826f, 0x142929670a0e6e70,
    0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed, 0x53380d139d95b3df,
    0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30,
    0xd192e819d6ef5218, 0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8,
    0x19a4c116b8d2d0c8, 0x1e376c085141ab53, 0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8,
    0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373, 0x682e6ff3d6b2b8a3,
    0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b,
    0xca273eceea26619c, 0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178,
    0x06f067aa72176fba, 0x0a637dc5a2c898a6, 0x113f9804bef90dae, 0x1b710b35131c471b,
    0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc, 0x431d67c49c100d4c,
    0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817};

inline uint32_t BigSigma0(uint32_t x) { return std::rotr(x, 2) ^ std::rotr(x, 13) ^ std::rotr(x, 22); }
inline uint32_t BigSigma1(uint32_t x) { return std::rotr(x, 6) ^ std::rotr(x, 11) ^ std::rotr(x, 25); }
inline uint32_t SmallSigma0(uint32_t x) { return std::rotr(x, 7) ^ std::rotr(x, 18) ^ (x >> 3); }
inline uint32_t SmallSigma1(uint32_t x) { return std::rotr(x, 17) ^ std::rotr(x, 19) ^ (x >> 10); }

inline uint64_t BigSigma0(uint64_t x) { return std::rotr(x, 28) ^ std::rotr(x, 34) ^ std::rotr(x, 39); }
inline uint64_t BigSigma1(uint64_t x) { return std::rotr(x, 14) ^ std::rotr(x, 18) ^ std::rotr(x, 41); }
inline uint64_t SmallSigma0(uint64_t x) { return std::rotr(x, 1) ^ std::rotr(x, 8) ^ (x >> 7); }
inline uint64_t SmallSigma1(uint64_t x) { return std::rotr(x, 19) ^ std::rotr(x, 61) ^ (x >> 6); }

// One load and one byte swap per word: the byte-by-byte reader of shared/Endian.h does not become
// that for 64-bit words, and the schedule loads are the hot path.
template <typename Word>
inline Word LoadBigEndian(const uint8_t* p) {
  Word value;
  std::memcpy(&value, p, sizeof value);
  if constexpr (std::endian::native == std::endian::little) {
    if constexpr (sizeof(Word) == 8) return __builtin_bswap64(value);
    else return __builtin_bswap32(value);
  }
  return value;
}

// The message schedule lives in a rolling window of 16 words; word i of rounds 16 and up
// replaces word i - 16 in place.
template <typename Word>
inline Word NextScheduleWord(Word (&w)[16], size_t i) {
  w[i & 15] += SmallSigma1(w[(i - 2) & 15]) + w[(i - 7) & 15] + SmallSigma0(w[(i - 15) & 15]);
  return w[i & 15];
}

// One round with the working variables named by position, so that eight rounds in a row rotate
// the roles instead of moving the values. W(i) is the schedule word of round i.
#define TARNWICK_SHA2_ROUND(W, a, b, c, d, e, f, g, h, i)                                \
  do {                                                                                  \
    const Word t1 = h + BigSigma1(e) + (g ^ (e & (f ^ g))) + roundConstants[i] + W(i); \
    const Word t2 = BigSigma0(a) + ((a & b) ^ (c & (a ^ b)));                       \
    d += t1;                                                                            \
    h = t1 + t2;                                                                        \
  } while (0)

#define TARNWICK_SHA2_EIGHT_ROUNDS(W, i)                       \
  TARNWICK_SHA2_ROUND(W, a, b, c, d, e, f, g, h, i + 0);       \
  TARNWICK_SHA2_ROUND(W, h, a, b, c, d, e, f, g, i + 1);       \
  TARNWICK_SHA2_ROUND(W, g, h, a, b, c, d, e, f, i + 2);       \
  TARNWICK_SHA2_ROUND(W, f, g, h, a, b, c, d, e, i + 3);       \
  TARNWICK_SHA2_ROUND(W, e, f, g, h, a, b, c, d, i + 4);       \
  TARNWICK_SHA2_ROUND(W, d, e, f, g, h, a, b, c, i + 5);       \
  TARNWICK_SHA2_ROUND(W, c, d, e, f, g, h, a, b, i + 6);       \
  TARNWICK_SHA2_ROUND(W, b, c, d, e, f, g, h, a, i + 7)

#define TARNWICK_SHA2_LOADED(i) w[i]
#define TARNWICK_SHA2_SCHEDULED(i) NextScheduleWord(w, i)

// Compresses `blocks` whole blocks. Word is uint32_t (SHA-256) or uint64_t (SHA-512); the two
// differ only in word size, constants, rotation amounts and round count.
template <typename Word, size_t RoundCount>
void Compress(Word state[8], const Word (&roundConstants)[RoundCount], const uint8_t* data,
              size_t blocks) {
  constexpr size_t kBlockSize = 16 * sizeof(Word);
  Word w[16];
  for (; blocks > 0; --blocks, data += kBlockSize) {
    for (size_t i = 0; i < 16; ++i) w[i] = LoadBigEndian<Word>(data + i * sizeof(Word));
    Word a = state[0], b = state[1], c = state[2], d = state[3];
    Word e = state[4], f = state[5], g = state[6], h = state[7];
    TARNWICK_SHA2_EIGHT_ROUNDS(TARNWICK_SHA2_LOADED, 0);
    TARNWICK_SHA2_EIGHT_ROUNDS(TARNWICK_SHA2_LOADED, 8);
    for (size_t i = 16; i < RoundCount; i += 16) {
      TARNWICK_SHA2_EIGHT_ROUNDS(TARNWICK_SHA2_SCHEDULED, i);
      TARNWICK_SHA2_EIGHT_ROUNDS(TARNWICK_SHA2_SCHEDULED, i + 8);
    }
    state[0] += a; state[1] += b; state[2] += c; state[3] += d;
    state[4] += e; state[5] += f; state[6] += g; state[7] += h;
  }
}

#undef TARNWICK_SHA2_SCHEDULED
#undef TARNWICK_SHA2_LOADED
#undef TARNWICK_SHA2_EIGHT_ROUNDS
#undef TARNWICK_SHA2_ROUND

template <typename Context>
constexpr size_t BlockSizeOf() { return sizeof(Context::block) / 2; }

template <typename Context, typename CompressFn>
void Update(Context* context, const uint8_t* data, size_t length, CompressFn compress) {
  constexpr size_t kBlock = BlockSizeOf<Context>();
  if (length == 0) return;
  const size_t room = kBlock - context->waiting;
  const size_t first = length < room ? length : room;
  std::memcpy(context->block + context->waiting, data, first);
  if (context->waiting + length < kBlock) {
    context->waiting += static_cast<uint32_t>(length);
    return;
  }
  compress(context->state, context->block, 1);
  const size_t rest = length - first;
  const size_t wholeBlocks = rest / kBlock;
  compress(context->state, data + first, wholeBlocks);
  const size_t tail = rest % kBlock;
  std::memcpy(context->block, data + first + wholeBlocks * kBlock, tail);
  context->waiting = static_cast<uint32_t>(tail);
  context->total += (wholeBlocks + 1) * kBlock;
}

// Padding: 0x80 after the message, zeros, and the message's bit length big-endian in the last
// `lengthField` bytes of the one or two padding blocks.
template <typename Context, typename CompressFn>
void Final(Context* context, size_t lengthField, CompressFn compress, uint8_t* digest) {
  constexpr size_t kBlock = BlockSizeOf<Context>();
  const size_t blocks = context->waiting + 1 + lengthField <= kBlock ? 1 : 2;
  const size_t padded = blocks * kBlock;
  const uint64_t messageBytes = context->total + context->waiting;
  std::memset(context->block + context->waiting, 0, padded - context->waiting);
  context->block[context->waiting] = 0x80;
  endian::WriteBE<uint64_t>(context->block + padded - 8, messageBytes << 3);
  if (lengthField > 8) endian::WriteBE<uint64_t>(context->block + padded - 16, messageBytes >> 61);
  compress(context->state, context->block, blocks);
  using Word = std::remove_reference_t<decltype(context->state[0])>;
  for (size_t i = 0; i < 8; ++i) endian::WriteBE<Word>(digest + i * sizeof(Word), context->state[i]);
}

void Compress256(uint32_t state[8], const uint8_t* data, size_t blocks) {
  Compress(state, kSha256Rounds, data, blocks);
}

void Compress512(uint64_t state[8], const uint8_t* data, size_t blocks) {
  Compress(state, kSha512Rounds, data, blocks);
}

}  // namespace

void Sha256Init(Sha256Context* context) {
  *context = Sha256Context{};
  std::memcpy(context->state, kSha256Initial, sizeof(kSha256Initial));
}

void Sha256Update(Sha256Context* context, const uint8_t* data, size_t length) {
  Update(context, data, length, Compress256);
}

void Sha256Final(Sha256Context* context, uint8_t digest[kSha256DigestSize]) {
  Final(context, 8, Compress256, digest);
}

void Sha256(const uint8_t* data, size_t length, uint8_t digest[kSha256DigestSize]) {
  Sha256Context context;
  Sha256Init(&context);
  Sha256Update(&context, data, length);
  Sha256Final(&context, digest);
}

void Sha512Init(Sha512Context* context) {
  *context = Sha512Context{};
  std::memcpy(context->state, kSha512Initial, sizeof(kSha512Initial));
}

void Sha512Update(Sha512Context* context, const uint8_t* data, size_t length) {
  Update(context, data, length, Compress512);
}

void Sha512Final(Sha512Context* context, uint8_t digest[kSha512DigestSize]) {
  Final(context, 16, Compress512, digest);
}

void Sha512(const uint8_t* data, size_t length, uint8_t digest[kSha512DigestSize]) {
  Sha512Context context;
  Sha512Init(&context);
  Sha512Update(&context, data, length);
  Sha512Final(&context, digest);
}
