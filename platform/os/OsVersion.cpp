#include "platform/os/OsVersion.h"

#include <QRegularExpression>

#include <sys/utsname.h>

namespace platform {
namespace {

uint16_t ArchitectureOf(const QString& machine) {
  if (machine == u"x86_64") return PROCESSOR_ARCHITECTURE_AMD64;
  if (machine == u"aarch64" || machine == u"arm64") return PROCESSOR_ARCHITECTURE_ARM64;
  if (machine == u"ia64") return PROCESSOR_ARCHITECTURE_IA64;
  if (machine == u"alpha") return PROCESSOR_ARCHITECTURE_ALPHA64;
  if (machine.startsWith(u"arm")) return PROCESSOR_ARCHITECTURE_ARM;
  static const QRegularExpression x86(QStringLiteral("^i[3-6]86$"));
  if (x86.match(machine).hasMatch()) return PROCESSOR_ARCHITECTURE_INTEL;
  return PROCESSOR_ARCHITECTURE_UNKNOWN;
}

}  // namespace

bool GetOsVersionInfo(OsVersionInfo* info) {
  utsname names{};
  if (uname(&names) != 0) return false;
  *info = OsVersionInfo{};
  info->extended = true;
  // A kernel release reads like "6.1.0-18-amd64": major, minor and patch level lead it.
  static const QRegularExpression release(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
  const QRegularExpressionMatch numbers = release.match(QString::fromUtf8(names.release));
  info->majorVersion = numbers.captured(1).toUInt();
  info->minorVersion = numbers.captured(2).toUInt();
  info->buildNumber = numbers.captured(3).toUInt();
  info->processorArchitecture = ArchitectureOf(QString::fromUtf8(names.machine));
  return true;
}

}  // namespace platform
