#include "platform/os/Random.h"

#include <cerrno>
#include <cstdlib>

#include <sys/random.h>

namespace platform {

QByteArray RandomBytes(qsizetype count) {
  QByteArray bytes(count, '\0');
  qsizetype filled = 0;
  while (filled < count) {
    const ssize_t got = getrandom(bytes.data() + filled, static_cast<size_t>(count - filled), 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      // Without the kernel's generator there is no safe key material at all.
      std::abort();
    }
    filled += got;
  }
  return bytes;
}

uint32_t RandomBelow(uint32_t bound) {
  // Draws above the largest multiple of `bound` are thrown away, so no value is favoured.
  const uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
  for (;;) {
    const QByteArray bytes = RandomBytes(4);
    uint32_t value = 0;
    for (char byte : bytes) value = (value << 8) | static_cast<uint8_t>(byte);
    if (value < limit) return value % bound;
  }
}

}  // namespace platform
