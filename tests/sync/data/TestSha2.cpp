#include "sync/data/Sha2.h"

#include <gtest/gtest.h>

#include <openssl/sha.h>

#include <QByteArray>

#include <numeric>
#include <vector>

namespace {

QByteArray Hex(const uint8_t* bytes, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)).toHex();
}

std::vector<uint8_t> Pattern(size_t length) {
  std::vector<uint8_t> bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>((i * 131 + 7) ^ (i >> 8));
  return bytes;
}

// Lengths around both block sizes and both padding boundaries, and one large input.
const size_t kLengths[] = {0, 1, 55, 56, 63, 64, 65, 111, 112, 127, 128, 129, 1000, 1 << 20};

// The digest of `data` fed to Update in pieces of the given sizes, cycling through them.
template <typename Context, size_t DigestSize>
QByteArray DigestInPieces(void (*init)(Context*), void (*update)(Context*, const uint8_t*, size_t),
                          void (*final)(Context*, uint8_t*), const std::vector<uint8_t>& data,
                          const std::vector<size_t>& pieces) {
  Context context;
  init(&context);
  size_t offset = 0;
  for (size_t i = 0; offset < data.size(); ++i) {
    const size_t piece = std::min(pieces[i % pieces.size()], data.size() - offset);
    update(&context, data.data() + offset, piece);
    offset += piece;
  }
  uint8_t digest[DigestSize];
  final(&context, digest);
  return Hex(digest, DigestSize);
}

// Pieces that fill the waiting block exactly: one whole block alone or followed by more, a
// block completed from bytes already waiting, and a completed block followed by a whole one.
std::vector<std::vector<size_t>> SplitsOnABlockBoundary(size_t block) {
  return {{block}, {block, 10}, {10, block - 10}, {10, block - 10, 10}, {block, block}, {10, 2 * block - 10, 1}};
}

std::vector<uint8_t> PatternFor(const std::vector<size_t>& pieces) {
  return Pattern(std::accumulate(pieces.begin(), pieces.end(), size_t{0}));
}

}  // namespace

TEST(Sha2, FipsExampleOfThreeBytes) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  uint8_t d256[kSha256DigestSize];
  uint8_t d512[kSha512DigestSize];
  Sha256(abc, 3, d256);
  Sha512(abc, 3, d512);
  EXPECT_EQ(Hex(d256, sizeof d256),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Hex(d512, sizeof d512),
            "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
            "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
}

TEST(Sha2, MatchesOpenSslAcrossBlockBoundaries) {
  for (const size_t length : kLengths) {
    const std::vector<uint8_t> data = Pattern(length);
    uint8_t ours256[kSha256DigestSize], ref256[SHA256_DIGEST_LENGTH];
    uint8_t ours512[kSha512DigestSize], ref512[SHA512_DIGEST_LENGTH];
    Sha256(data.data(), data.size(), ours256);
    Sha512(data.data(), data.size(), ours512);
    SHA256(data.data(), data.size(), ref256);
    SHA512(data.data(), data.size(), ref512);
    EXPECT_EQ(Hex(ours256, 32), Hex(ref256, 32)) << "SHA-256 of " << length << " bytes";
    EXPECT_EQ(Hex(ours512, 64), Hex(ref512, 64)) << "SHA-512 of " << length << " bytes";
  }
}

TEST(Sha2, PiecewiseUpdatesGiveTheOneShotDigest) {
  const std::vector<uint8_t> data = Pattern(5000);
  const std::vector<std::vector<size_t>> splits = {{1}, {7, 200}, {63, 1, 64}, {127, 129}, {300}};
  uint8_t one256[32], one512[64];
  Sha256(data.data(), data.size(), one256);
  Sha512(data.data(), data.size(), one512);
  for (const auto& pieces : splits) {
    EXPECT_EQ((DigestInPieces<Sha256Context, 32>(Sha256Init, Sha256Update, Sha256Final, data, pieces)),
              Hex(one256, 32)) << "first piece " << pieces[0];
    EXPECT_EQ((DigestInPieces<Sha512Context, 64>(Sha512Init, Sha512Update, Sha512Final, data, pieces)),
              Hex(one512, 64)) << "first piece " << pieces[0];
  }
}

TEST(Sha2, UpdatesEndingOnABlockBoundaryMatchOpenSsl) {
  for (const auto& pieces : SplitsOnABlockBoundary(kSha256BlockSize)) {
    const std::vector<uint8_t> data = PatternFor(pieces);
    uint8_t reference[SHA256_DIGEST_LENGTH];
    SHA256(data.data(), data.size(), reference);
    EXPECT_EQ((DigestInPieces<Sha256Context, 32>(Sha256Init, Sha256Update, Sha256Final, data, pieces)),
              Hex(reference, sizeof reference))
        << "SHA-256, " << pieces.size() << " pieces from " << pieces[0];
  }
  for (const auto& pieces : SplitsOnABlockBoundary(kSha512BlockSize)) {
    const std::vector<uint8_t> data = PatternFor(pieces);
    uint8_t reference[SHA512_DIGEST_LENGTH];
    SHA512(data.data(), data.size(), reference);
    EXPECT_EQ((DigestInPieces<Sha512Context, 64>(Sha512Init, Sha512Update, Sha512Final, data, pieces)),
              Hex(reference, sizeof reference))
        << "SHA-512, " << pieces.size() << " pieces from " << pieces[0];
  }
}
