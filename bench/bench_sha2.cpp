// Our SHA-256 and SHA-512 against OpenSSL's at the sizes the program meets: a short row, a long
// row, and a large strip.
#include "sync/data/Sha2.h"

#include <benchmark/benchmark.h>

#include <openssl/sha.h>

#include <vector>

namespace {

std::vector<uint8_t> Input(const benchmark::State& state) {
  return std::vector<uint8_t>(static_cast<size_t>(state.range(0)), 0x5A);
}

// `Hash` is ours or OpenSSL's one-shot digest function.
template <auto Hash, size_t DigestSize>
void Digest(benchmark::State& state) {
  const std::vector<uint8_t> data = Input(state);
  uint8_t digest[DigestSize];
  for (auto _ : state) {
    Hash(data.data(), data.size(), digest);
    benchmark::DoNotOptimize(digest);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(64)->Arg(1024)->Arg(1 << 20); }

}  // namespace

BENCHMARK(Digest<Sha512, kSha512DigestSize>)->Name("Sha512/ours")->Apply(Sizes);
BENCHMARK(Digest<SHA512, SHA512_DIGEST_LENGTH>)->Name("Sha512/openssl")->Apply(Sizes);
BENCHMARK(Digest<Sha256, kSha256DigestSize>)->Name("Sha256/ours")->Apply(Sizes);
BENCHMARK(Digest<SHA256, SHA256_DIGEST_LENGTH>)->Name("Sha256/openssl")->Apply(Sizes);
