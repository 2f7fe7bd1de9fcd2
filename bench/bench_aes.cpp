#include "shared/crypto/Cbc.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <memory>
#include <vector>

// Our CbcEncrypt against OpenSSL's AES-128-CBC. Both set the key and IV up on every call, as
// CbcEncrypt does. Run with OPENSSL_ia32cap="~0x200000200000000" to take AES-NI from OpenSSL.

namespace {

struct Material {
  explicit Material(size_t length) : key(16, 0x2B), iv(16, 0x7E), in(length, 0x5A), out(length) {}
  std::vector<uint8_t> key;
  std::vector<uint8_t> iv;
  std::vector<uint8_t> in;
  std::vector<uint8_t> out;
};

void BM_CbcEncrypt(benchmark::State& state) {
  Material m(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    CbcEncrypt(m.key.data(), m.iv.data(), m.in.data(), m.out.data(), m.in.size());
    benchmark::DoNotOptimize(m.out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_OpenSslCbcEncrypt(benchmark::State& state) {
  Material m(static_cast<size_t>(state.range(0)));
  const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> context(
      EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  for (auto _ : state) {
    int written = 0;
    EVP_EncryptInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, m.key.data(), m.iv.data());
    EVP_CIPHER_CTX_set_padding(context.get(), 0);
    EVP_EncryptUpdate(context.get(), m.out.data(), &written, m.in.data(),
                      static_cast<int>(m.in.size()));
    benchmark::DoNotOptimize(m.out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(BM_CbcEncrypt)->Arg(1024)->Arg(1024 * 1024);
BENCHMARK(BM_OpenSslCbcEncrypt)->Arg(1024)->Arg(1024 * 1024);
