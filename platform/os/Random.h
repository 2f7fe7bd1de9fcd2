#pragma once

#include <QByteArray>

#include <cstdint>

// Random numbers for salts, initialisation vectors and key indexes, from the kernel's generator.
namespace platform {

// `count` random bytes. The kernel's generator blocks only until it has been seeded at boot.
QByteArray RandomBytes(qsizetype count);

// A uniformly distributed number from 0 to `bound` - 1; `bound` must be at least 1.
uint32_t RandomBelow(uint32_t bound);

}  // namespace platform
