#pragma once

#include <QString>

#include <cstdint>

// What the system's version calls report, in the shape of the Windows version record and native
// system information. On Linux: the kernel release as major, minor and build numbers, the machine
// architecture, no service pack, and a platform id that is none of Windows' own.
namespace platform {

// Platform ids, with Windows' numbers for Windows' own.
inline constexpr uint32_t VER_PLATFORM_WIN32s = 0;
inline constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;
inline constexpr uint32_t VER_PLATFORM_LINUX = 0x4C4E;

// Processor architectures, with Windows' numbers.
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_INTEL = 0;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM = 5;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_IA64 = 6;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_ALPHA64 = 7;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM64 = 12;
inline constexpr uint16_t PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

struct OsVersionInfo {
  bool extended = false;  // suite mask and product type were obtained
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 0;
  uint32_t platformId = VER_PLATFORM_LINUX;
  QString servicePack;
  uint16_t servicePackMajor = 0;
  uint16_t servicePackMinor = 0;
  uint16_t suiteMask = 0;
  uint8_t productType = 0;
  uint16_t processorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
};

// Fills `info` from the running system; false when the system does not say.
bool GetOsVersionInfo(OsVersionInfo* info);

}  // namespace platform
