#include "platform/os/OsVersion.h"
#include "platform/os/Random.h"
#include "platform/os/SystemError.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QSysInfo>

#include <cerrno>

using namespace platform;

TEST(OsVersion, TheRecordTellsTheKernelReleaseAndArchitecture) {
  OsVersionInfo info;
  ASSERT_TRUE(GetOsVersionInfo(&info));
  const QStringList release = QSysInfo::kernelVersion().split(u'.');
  EXPECT_EQ(info.majorVersion, release.value(0).toUInt());
  EXPECT_EQ(info.minorVersion, release.value(1).toUInt());
  EXPECT_EQ(info.platformId, VER_PLATFORM_LINUX);
  EXPECT_TRUE(info.extended);
  EXPECT_TRUE(info.servicePack.isEmpty());
  if (QSysInfo::currentCpuArchitecture() == u"x86_64") {
    EXPECT_EQ(info.processorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
  }
}

TEST(Random, BytesAreFreshEachTime) {
  const QByteArray first = RandomBytes(32);
  const QByteArray second = RandomBytes(32);
  EXPECT_EQ(first.size(), 32);
  EXPECT_NE(first, second);
  EXPECT_TRUE(RandomBytes(0).isEmpty());
}

TEST(Random, NumbersBelowABoundCoverTheWholeRange) {
  QSet<uint32_t> seen;
  for (int i = 0; i < 3000; ++i) {
    const uint32_t value = RandomBelow(15);
    ASSERT_LT(value, 15u);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 15);
  EXPECT_EQ(RandomBelow(1), 0u);
}

TEST(SystemError, TextsAreTheSystemsMessagesWithoutTrailingStops) {
  EXPECT_EQ(GetSystemErrorText(ENOENT), QStringLiteral("No such file or directory"));
  EXPECT_EQ(GetSystemErrorText(EACCES), QStringLiteral("Permission denied"));
  EXPECT_EQ(GetSystemErrorText(99999), QStringLiteral("Unknown error 99999"));
  errno = EEXIST;
  EXPECT_EQ(GetLastError(), EEXIST);
}
