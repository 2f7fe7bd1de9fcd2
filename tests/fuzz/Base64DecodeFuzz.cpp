#include "shared/crypto/Base64.h"

#include <cstdlib>

// Any text decodes within bounds (the sanitizers watch every access), never to more than three
// bytes per four characters; and the bytes themselves survive encoding and decoding.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView input(data, static_cast<qsizetype>(size));
  const QByteArray decoded = Base64Decode(input);
  if (decoded.size() > input.size() / 4 * 3) std::abort();
  if (Base64Decode(Base64Encode(input)) != input) std::abort();
  return 0;
}
