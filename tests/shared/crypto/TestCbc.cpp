#include "shared/crypto/Cbc.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(std::mt19937& random, size_t count) {
  Bytes bytes(count);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

// OpenSSL's AES-128-CBC without padding, the independent reference.
Bytes OpenSslCbc(bool encrypt, const Bytes& key, const Bytes& iv, const Bytes& in) {
  const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
      EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  Bytes out(in.size() + 16);
  int written = 0;
  int last = 0;
  EXPECT_EQ(EVP_CipherInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, key.data(), iv.data(),
                              encrypt ? 1 : 0),
            1);
  EVP_CIPHER_CTX_set_padding(context.get(), 0);
  EXPECT_EQ(EVP_CipherUpdate(context.get(), out.data(), &written, in.data(),
                             static_cast<int>(in.size())),
            1);
  EXPECT_EQ(EVP_CipherFinal_ex(context.get(), out.data() + written, &last), 1);
  out.resize(static_cast<size_t>(written + last));
  return out;
}

}  // namespace

TEST(Cbc, MatchesOpenSslInBothDirections) {
  for (const size_t length : {16u, 32u, 272u, 464u, 4096u}) {
    SCOPED_TRACE(length);
    std::mt19937 random(static_cast<unsigned>(length));
    const Bytes key = RandomBytes(random, 16);
    const Bytes iv = RandomBytes(random, 16);
    const Bytes plain = RandomBytes(random, length);
    const Bytes ivBefore = iv;

    Bytes cipher(length);
    ASSERT_TRUE(CbcEncrypt(key.data(), iv.data(), plain.data(), cipher.data(), length));
    EXPECT_EQ(cipher, OpenSslCbc(true, key, iv, plain));

    Bytes decrypted(length);
    ASSERT_TRUE(CbcDecrypt(key.data(), iv.data(), cipher.data(), decrypted.data(), length));
    EXPECT_EQ(decrypted, plain);

    Bytes inPlace = cipher;
    ASSERT_TRUE(CbcDecrypt(key.data(), iv.data(), inPlace.data(), inPlace.data(), length));
    EXPECT_EQ(inPlace, plain);
    EXPECT_EQ(iv, ivBefore);
  }
}

TEST(Cbc, RefusesLengthsThatAreNotWholeBlocks) {
  const Bytes key(16, 1);
  const Bytes iv(16, 2);
  // The input is exactly `length` bytes long, so reading a whole last block would overrun it.
  for (const size_t length : {1u, 15u, 17u, 263u, 465u}) {
    SCOPED_TRACE(length);
    const Bytes in(length, 3);
    const Bytes untouched(length, 0xA5);
    Bytes out = untouched;
    EXPECT_FALSE(CbcEncrypt(key.data(), iv.data(), in.data(), out.data(), length));
    EXPECT_FALSE(CbcDecrypt(key.data(), iv.data(), in.data(), out.data(), length));
    EXPECT_EQ(out, untouched);
  }
}

TEST(Cbc, EmptyInputIsWholeBlocksAndWritesNothing) {
  const Bytes key(16, 1);
  const Bytes iv(16, 2);
  EXPECT_TRUE(CbcEncrypt(key.data(), iv.data(), nullptr, nullptr, 0));
  EXPECT_TRUE(CbcDecrypt(key.data(), iv.data(), nullptr, nullptr, 0));
}
