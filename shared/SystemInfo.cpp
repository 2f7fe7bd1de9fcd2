#include "shared/SystemInfo.h"

#include "platform/registry/Registry.h"

#include <utility>

using namespace platform;

namespace {

constexpr uint16_t kSuiteEnterprise = 0x0002;
constexpr uint16_t kSuiteDataCenter = 0x0080;
constexpr uint16_t kSuitePersonal = 0x0200;
constexpr uint16_t kSuiteBlade = 0x0400;
constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;

const std::pair<int, const char*> kNames[] = {
    {1, "Windows 95"},
    {2, "Windows 95"},
    {3, "Windows 98"},
    {4, "Windows 98"},
    {5, "Windows Millennium"},
    {7, "Windows NT 3.51"},
    {8, "Windows NT 4.0 Workstation"},
    {9, "Windows NT 4.0 Server"},
    {10, "Windows NT 4.0 Server Enterprise"},
    {12, "Windows 2000 Professional"},
    {13, "Windows 2000 Server"},
    {14, "Windows 2000 Server DataCenter"},
    {15, "Windows 2000 Server Advanced"},
    {16, "Windows XP"},
    {17, "Windows XP Home"},
    {18, "Windows XP Professional"},
    {19, "Windows Server 2003"},
    {20, "Windows Server 2003 Enterprise"},
    {21, "Windows Server 2003 DataCenter"},
    {22, "Windows Server 2003 WebEdition"},
    {23, "Windows Server 2003 for Itanium64"},
    {24, "Windows Server 2003 for Itanium64 Enterprise"},
    {25, "Windows Server 2003 for Itanium64 DataCenter"},
    {26, "Windows Server 2003 for AMD64"},
    {27, "Windows Server 2003 for AMD64 Enterprise"},
    {28, "Windows Server 2003 for AMD64 DataCenter"},
    {29, "Windows Vista"},
    {30, "Windows Vista"},
    {31, "Windows Vista Ultimate"},
    {32, "Windows Vista Business"},
    {33, "Windows Vista EnterPrise"},
    {34, "Windows Vista Home"},
    {35, "Windows Vista Home Basic"},
    {36, "Windows Vista Home Premium"},
    {37, "Windows Vista Starter"},
    {38, "Windows Server 2008"},
    {39, "Windows Server 2008"},
    {40, "Windows Server 2008 Enterprise"},
    {41, "Windows Server 2008 Enterprise Core"},
    {42, "Windows Server 2008 Enterprise Full"},
    {43, "Windows Server 2008 Enterprise for Itanium64"},
    {44, "Windows Server 2008 DataCenter"},
    {45, "Windows Server 2008 DataCenter Core"},
    {46, "Windows Server 2008 DataCenter Full"},
    {47, "Windows Server 2008 Standard"},
    {48, "Windows Server 2008 Standard Core"},
    {49, "Windows Server 2008 Standard Full"},
    {50, "Windows Server 2008 WebServer"},
    {51, "Windows 32s"},
};

// By the two suite bits: data centre, enterprise, neither.
int BySuite(uint16_t suite, int dataCenter, int enterprise, int other) {
  if (suite & kSuiteDataCenter) return dataCenter;
  if (suite & kSuiteEnterprise) return enterprise;
  return other;
}

bool Is64BitArchitecture(uint16_t architecture) {
  return architecture == PROCESSOR_ARCHITECTURE_IA64 ||
         architecture == PROCESSOR_ARCHITECTURE_ALPHA64 ||
         architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         architecture == PROCESSOR_ARCHITECTURE_ARM64;
}

bool KeyExists(const QString& name) {
  RegistryKeyGuard key;
  return RegOpenKeyEx(HKEY_LOCAL_MACHINE, name, KEY_QUERY_VALUE, key.out()) == ERROR_SUCCESS;
}

std::optional<QString> ReadProductOptionsType() {
  RegistryKeyGuard key;
  RegistryValue value;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\ProductOptions"),
                   KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS ||
      RegQueryValueEx(key.get(), QStringLiteral("ProductType"), &value) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value.ToString().left(80);
}

QString PlatformName(uint32_t platformId) {
  switch (platformId) {
    case VER_PLATFORM_WIN32_NT:
      return QStringLiteral("NT");
    case VER_PLATFORM_WIN32_WINDOWS:
      return QStringLiteral("Windows");
    case VER_PLATFORM_WIN32s:
      return QStringLiteral("Win32s");
    default:
      return QStringLiteral("Unknown");
  }
}

QString TrueFalse(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

}  // namespace

QString SystemInfo::OsName(int kind) {
  for (const auto& [code, name] : kNames) {
    if (code == kind) return QString::fromLatin1(name);
  }
  return QStringLiteral("Windows Unknown");
}

bool SystemInfo::DetectWindowsVersion() {
  WindowsVersionRecord record;
  if (!GetOsVersionInfo(&record.version)) {
    m_nOsKind = 0;
    m_bExtendedInfo = false;
    m_strServicePack.clear();
    return false;
  }
  const OsVersionInfo& v = record.version;
  if (v.platformId == VER_PLATFORM_WIN32_NT && !v.extended) record.productOptionsType = ReadProductOptionsType();
  if (v.platformId == VER_PLATFORM_WIN32_NT && v.majorVersion == 4 &&
      v.servicePack.compare(u"Service Pack 6", Qt::CaseInsensitive) == 0) {
    record.hotfixQ246009 = KeyExists(QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009"));
  }
  return Classify(record);
}

bool SystemInfo::Classify(const WindowsVersionRecord& record) {
  m_version = record.version;
  m_bExtendedInfo = m_version.extended;
  m_strServicePack.clear();
  m_nOsKind = 0;
  const OsVersionInfo& v = m_version;
  if (v.platformId == VER_PLATFORM_WIN32s) {
    m_nOsKind = 51;
    return true;
  }
  if (v.platformId == VER_PLATFORM_WIN32_WINDOWS) {
    const QChar letter = v.servicePack.size() > 1 ? v.servicePack[1] : QChar();
    if (v.majorVersion == 4 && v.minorVersion == 0) m_nOsKind = (letter == u'C' || letter == u'B') ? 2 : 1;
    if (v.majorVersion == 4 && v.minorVersion == 10) m_nOsKind = letter == u'A' ? 4 : 3;
    if (v.majorVersion == 4 && v.minorVersion == 90) m_nOsKind = 5;
    return true;
  }
  if (v.platformId != VER_PLATFORM_WIN32_NT) return true;

  m_nOsKind = BaseNtKind();
  if (v.extended) {
    m_nOsKind = ExtendedNtKind(m_nOsKind);
  } else {
    if (!record.productOptionsType) return false;
    m_nOsKind = ProductOptionsKind(m_nOsKind, *record.productOptionsType);
  }
  m_strServicePack = NtServicePackText(record.hotfixQ246009);
  return true;
}

int SystemInfo::BaseNtKind() const {
  const OsVersionInfo& v = m_version;
  if (v.majorVersion == 6) return 29;
  if (v.majorVersion == 5 && v.minorVersion == 2) return 19;
  if (v.majorVersion == 5 && v.minorVersion == 1) return 16;
  if (v.majorVersion == 5 && v.minorVersion == 0) return 11;
  if (v.majorVersion < 5) return 6;
  return 0;
}

int SystemInfo::ExtendedNtKind(int baseKind) const {
  const OsVersionInfo& v = m_version;
  if (v.productType == kServer || v.productType == kDomainController) return ServerKind();
  // 64-bit workstations keep the base code (XP x64 reads as Server 2003).
  if (v.productType != kWorkstation || v.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) return baseKind;
  const bool personal = (v.suiteMask & kSuitePersonal) != 0;
  if (v.majorVersion == 4) return 8;
  if (v.majorVersion == 5 && !personal && v.minorVersion == 1) return 18;
  if (v.majorVersion == 5 && !personal && v.minorVersion == 0) return 12;
  if (v.majorVersion == 5 && personal && v.minorVersion == 1) return 17;
  if (v.majorVersion == 6 && personal) return 34;
  return baseKind;
}

int SystemInfo::ServerKind() const {
  const OsVersionInfo& v = m_version;
  const uint16_t suite = v.suiteMask;
  if (v.majorVersion == 6 && v.minorVersion == 0) return BySuite(suite, 44, 40, 38);
  if (v.majorVersion == 5 && v.minorVersion == 2) {
    if (v.processorArchitecture == PROCESSOR_ARCHITECTURE_IA64) return BySuite(suite, 25, 24, 23);
    if (v.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) return BySuite(suite, 28, 27, 26);
    return BySuite(suite, 21, 20, suite == kSuiteBlade ? 22 : 19);
  }
  if (v.majorVersion == 5 && v.minorVersion == 0) return BySuite(suite, 14, 15, 13);
  return (suite & kSuiteEnterprise) ? 10 : 9;
}

int SystemInfo::ProductOptionsKind(int baseKind, const QString& productType) const {
  const uint32_t major = m_version.majorVersion;
  const uint32_t minor = m_version.minorVersion;
  if (productType.compare(u"WINNT", Qt::CaseInsensitive) == 0) return major < 5 ? 8 : baseKind;
  const bool lanman = productType.compare(u"LANMANNT", Qt::CaseInsensitive) == 0;
  const bool server = productType.compare(u"SERVERNT", Qt::CaseInsensitive) == 0;
  if (!lanman && !server) return baseKind;
  if (major == 5 && minor == 2) return lanman ? 19 : 20;
  if (major == 5 && minor == 0) return lanman ? 13 : 15;
  if (major < 5) return lanman ? 9 : 10;
  return baseKind;
}

QString SystemInfo::NtServicePackText(bool hotfixQ246009) const {
  const int build = static_cast<int>(m_version.buildNumber & 0xFFFF);
  if (m_version.majorVersion == 4 && hotfixQ246009 &&
      m_version.servicePack.compare(u"Service Pack 6", Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Service Pack 6a (Build %1)\n").arg(build);
  }
  return QStringLiteral("%1 (Build %2)\n").arg(m_version.servicePack).arg(build);
}

QString SystemInfo::DescribeSystem() const {
  const bool is64Bit = Is64BitArchitecture(m_version.processorArchitecture);
  const QString items[] = {
      QStringLiteral("OS Name : ") + OsName(m_nOsKind),
      QStringLiteral("Platform type : ") + PlatformName(m_version.platformId),
      QStringLiteral("Major version : %1").arg(m_version.majorVersion),
      QStringLiteral("Minor version : %1").arg(m_version.minorVersion),
      QStringLiteral("Build number : %1").arg(m_version.buildNumber),
      QStringLiteral("Service Pack info : ") + m_strServicePack,
      QStringLiteral("32-bit platform : ") + TrueFalse(!is64Bit),
      QStringLiteral("64-bit platform: ") + TrueFalse(is64Bit),
  };
  QString block = QStringLiteral("<SystemOSDetails> ");
  for (const QString& item : items) block += QStringLiteral("\r\n\t") + item;
  return block;
}

QString SystemOSDetailsText() {
  SystemInfo info;
  info.DetectWindowsVersion();
  return info.DescribeSystem();
}
