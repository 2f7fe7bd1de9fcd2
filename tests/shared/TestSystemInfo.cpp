#include "shared/SystemInfo.h"

#include <gtest/gtest.h>

#include <QSysInfo>

using namespace platform;

namespace {

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr uint8_t kServer = 3;

WindowsVersionRecord Nt(uint32_t major, uint32_t minor, uint8_t productType, uint16_t suite = 0,
                        uint16_t architecture = PROCESSOR_ARCHITECTURE_INTEL) {
  WindowsVersionRecord record;
  record.version.extended = true;
  record.version.platformId = VER_PLATFORM_WIN32_NT;
  record.version.majorVersion = major;
  record.version.minorVersion = minor;
  record.version.buildNumber = 2600;
  record.version.productType = productType;
  record.version.suiteMask = suite;
  record.version.processorArchitecture = architecture;
  return record;
}

WindowsVersionRecord ShortNt(uint32_t major, uint32_t minor, std::optional<QString> productType) {
  WindowsVersionRecord record = Nt(major, minor, 0);
  record.version.extended = false;
  record.productOptionsType = std::move(productType);
  return record;
}

WindowsVersionRecord Win9x(uint32_t minor, const QString& servicePack) {
  WindowsVersionRecord record;
  record.version.platformId = VER_PLATFORM_WIN32_WINDOWS;
  record.version.majorVersion = 4;
  record.version.minorVersion = minor;
  record.version.servicePack = servicePack;
  return record;
}

}  // namespace

TEST(SystemInfo, ClassifiesWindowsEditions) {
  struct Case {
    const char* edition;
    WindowsVersionRecord record;
    int kind;
    const char* name;
  };
  WindowsVersionRecord win32s;
  win32s.version.platformId = VER_PLATFORM_WIN32s;
  const Case cases[] = {
      {"Windows 7", Nt(6, 1, kWorkstation), 29, "Windows Vista"},
      {"Windows 7 x64", Nt(6, 1, kWorkstation, 0, PROCESSOR_ARCHITECTURE_AMD64), 29, "Windows Vista"},
      {"Vista Home", Nt(6, 0, kWorkstation, 0x0200), 34, "Windows Vista Home"},
      {"XP x64", Nt(5, 2, kWorkstation, 0, PROCESSOR_ARCHITECTURE_AMD64), 19, "Windows Server 2003"},
      {"XP Professional", Nt(5, 1, kWorkstation), 18, "Windows XP Professional"},
      {"XP Home", Nt(5, 1, kWorkstation, 0x0200), 17, "Windows XP Home"},
      {"2000 Professional", Nt(5, 0, kWorkstation), 12, "Windows 2000 Professional"},
      {"NT 4.0 Workstation", Nt(4, 0, kWorkstation), 8, "Windows NT 4.0 Workstation"},
      {"6.1 server, enterprise", Nt(6, 1, kServer, 0x0002), 10, "Windows NT 4.0 Server Enterprise"},
      {"6.1 domain controller", Nt(6, 1, kDomainController), 9, "Windows NT 4.0 Server"},
      {"Server 2008 DataCenter", Nt(6, 0, kServer, 0x0082), 44, "Windows Server 2008 DataCenter"},
      {"Server 2008", Nt(6, 0, kServer), 38, "Windows Server 2008"},
      {"2003 Itanium Enterprise", Nt(5, 2, kServer, 0x0002, PROCESSOR_ARCHITECTURE_IA64), 24,
       "Windows Server 2003 for Itanium64 Enterprise"},
      {"2003 AMD64 DataCenter", Nt(5, 2, kServer, 0x0080, PROCESSOR_ARCHITECTURE_AMD64), 28,
       "Windows Server 2003 for AMD64 DataCenter"},
      {"2003 web edition", Nt(5, 2, kServer, 0x0400), 22, "Windows Server 2003 WebEdition"},
      {"2003 web and enterprise bits", Nt(5, 2, kServer, 0x0402), 20, "Windows Server 2003 Enterprise"},
      {"2000 Advanced Server", Nt(5, 0, kServer, 0x0002), 15, "Windows 2000 Server Advanced"},
      {"2000 without the extended record", ShortNt(5, 0, QStringLiteral("WinNT")), 11, "Windows Unknown"},
      {"NT 4.0 LANMAN", ShortNt(4, 0, QStringLiteral("LANMANNT")), 9, "Windows NT 4.0 Server"},
      {"2000 SERVERNT", ShortNt(5, 0, QStringLiteral("servernt")), 15, "Windows 2000 Server Advanced"},
      {"NT 3.51", Nt(3, 51, 0), 6, "Windows Unknown"},
      {"95 OSR2", Win9x(0, QStringLiteral(" B")), 2, "Windows 95"},
      {"95", Win9x(0, QString()), 1, "Windows 95"},
      {"98 SE", Win9x(10, QStringLiteral(" A")), 4, "Windows 98"},
      {"Millennium", Win9x(90, QString()), 5, "Windows Millennium"},
      {"Win32s", win32s, 51, "Windows 32s"},
  };
  for (const Case& c : cases) {
    SystemInfo info;
    EXPECT_TRUE(info.Classify(c.record)) << c.edition;
    EXPECT_EQ(info.OsKind(), c.kind) << c.edition;
    EXPECT_EQ(SystemInfo::OsName(info.OsKind()), QString::fromLatin1(c.name)) << c.edition;
  }
}

TEST(SystemInfo, WithoutTheExtendedRecordAnUnreadableProductTypeFails) {
  SystemInfo info;
  EXPECT_FALSE(info.Classify(ShortNt(5, 0, std::nullopt)));
  EXPECT_EQ(info.OsKind(), 11);
}

TEST(SystemInfo, ServicePackTextOfNt) {
  WindowsVersionRecord sp6 = Nt(4, 0, kWorkstation);
  sp6.version.servicePack = QStringLiteral("Service Pack 6");
  sp6.version.buildNumber = 0x0A000565;  // only the low 16 bits are the build
  SystemInfo info;
  info.Classify(sp6);
  EXPECT_EQ(info.ServicePackText(), QStringLiteral("Service Pack 6 (Build 1381)\n"));
  sp6.hotfixQ246009 = true;
  info.Classify(sp6);
  EXPECT_EQ(info.ServicePackText(), QStringLiteral("Service Pack 6a (Build 1381)\n"));
  info.Classify(Win9x(10, QStringLiteral(" A")));
  EXPECT_TRUE(info.ServicePackText().isEmpty());
}

TEST(SystemInfo, TheBlockOfA64BitAndA32BitSystem) {
  WindowsVersionRecord seven = Nt(6, 1, kWorkstation, 0, PROCESSOR_ARCHITECTURE_AMD64);
  seven.version.buildNumber = 7601;
  seven.version.servicePack = QStringLiteral("Service Pack 1");
  SystemInfo info;
  info.Classify(seven);
  EXPECT_EQ(info.DescribeSystem(),
            QStringLiteral("<SystemOSDetails> \r\n\tOS Name : Windows Vista\r\n\tPlatform type : NT\r\n"
                           "\tMajor version : 6\r\n\tMinor version : 1\r\n\tBuild number : 7601\r\n"
                           "\tService Pack info : Service Pack 1 (Build 7601)\n\r\n"
                           "\t32-bit platform : false\r\n\t64-bit platform: true"));
  info.Classify(Nt(5, 1, kWorkstation));
  EXPECT_TRUE(info.DescribeSystem().endsWith(u"\t32-bit platform : true\r\n\t64-bit platform: false"));
}

TEST(SystemInfo, OnLinuxTheEditionIsUnknownAndTheNumbersAreTheKernels) {
  SystemInfo info;
  ASSERT_TRUE(info.DetectWindowsVersion());
  EXPECT_EQ(info.OsKind(), 0);
  const QString block = info.DescribeSystem();
  EXPECT_TRUE(block.contains(u"\r\n\tOS Name : Windows Unknown\r\n\tPlatform type : Unknown\r\n")) << block.toStdString();
  const QString major = QSysInfo::kernelVersion().section(u'.', 0, 0);
  EXPECT_TRUE(block.contains(QStringLiteral("\r\n\tMajor version : ") + major + QStringLiteral("\r\n")));
  EXPECT_TRUE(block.contains(u"\r\n\tService Pack info : \r\n"));
  if (QSysInfo::currentCpuArchitecture() == u"x86_64") {
    EXPECT_TRUE(block.endsWith(u"32-bit platform : false\r\n\t64-bit platform: true"));
  }
  EXPECT_EQ(SystemOSDetailsText(), block);
}
